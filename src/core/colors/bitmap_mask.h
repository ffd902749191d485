#pragma once

#include "graphics/bitmap.h"

#include <memory>

namespace velmora
{

/// Joins a colour bitmap and its mask into a new 32-bit bitmap of the mask's size: blue, green
/// and red come from the colour bitmap's pixel at the same place, alpha is the mask pixel's red
/// byte times percentage / 100, computed in extended precision and rounded to the nearest
/// integer with halves to even, then held to 0..255.
///
/// Returns nullptr, without error, when the mask is missing, empty or not 24 bits per pixel.
/// The colour bitmap must be a 24-bit bitmap at least as wide and as high as the mask; any
/// other colour bitmap is refused with an error, so no pixel outside it is ever read. Errors
/// are raised as the general error "AddMaskToBitmap32 failed.\n" plus the cause's text.
std::unique_ptr<TBitmap> AddMaskToBitmap32(
    const TBitmap& colour24, const TBitmap* mask, int percentage);

} // namespace velmora

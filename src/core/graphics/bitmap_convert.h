#pragma once

#include "graphics/bitmap.h"
#include "graphics/pixel_format.h"

namespace velmora
{

/// Converts a bitmap in place to another pixel format.
///
/// To 1 bit: onto a black and white palette. To 4 bits: onto the 16 StandardColors in their
/// order. To 8 bits: onto the fixed palette of FixedPalette8. Each pixel goes to the nearest
/// palette colour by squared distance, the lower index on a tie. To 15, 16, 24 and 32 bits the
/// colours are kept exactly (as exactly as the target holds them); a conversion to 32 bits
/// from another format leaves the alpha bytes 0, and a conversion from 32 bits drops them.
/// Converting to the format a bitmap already has changes nothing. Raises EInvalidGraphic for
/// pfDevice and pfCustom.
void ConvertPixelFormat(TBitmap& bitmap, TPixelFormat format);

} // namespace velmora

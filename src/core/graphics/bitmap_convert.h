#pragma once

#include "graphics/bitmap.h"
#include "graphics/pixel_format.h"

#include <array>
#include <vector>

namespace velmora
{

/// The fixed 256-colour palette of conversions to 8 bits: entries 0 to 215 are the web-safe
/// colours (entry 36 * b + 6 * g + r has red 51 * r, green 51 * g and blue 51 * b), entries 216
/// to 255 the greys 8, 14, ..., 242 (8 + 6 * i), none of which is a web-safe grey.
std::array<TRGBQuad, 256> FixedPalette8();

/// The palette that ConvertPixelFormat gives bitmaps of a 1-, 4- or 8-bit format: black and
/// white; the StandardColors; FixedPalette8. Empty for the other formats.
std::vector<TRGBQuad> ConversionPalette(TPixelFormat format);

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

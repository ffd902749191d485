#pragma once

#include "graphics/bitmap.h"
#include "graphics/pixel_format.h"

#include <cstdint>
#include <span>

namespace velmora
{

// Pixel access of core bitmaps. Colours are taken by their red, green and blue bytes only: the
// high byte of a colour value is ignored, so system colours must be resolved before they get
// here. The operations taking (x, y) raise EListError for a pixel outside the bitmap; the row
// helpers leave bounds to their callers, which check them once per row.

/// The colour of a pixel: palette formats through the palette (an index past a short palette
/// gives black); 15- and 16-bit pixels widened to 8 bits a channel by repeating their high bits
/// (v << 3 | v >> 2 for 5 bits, v << 2 | v >> 4 for 6 bits).
TColor GetPixelColor(const TBitmap& bitmap, int x, int y);

/// Sets a pixel to a colour: 15 and 16 bits keep the high bits of each channel; 32 bits set
/// the alpha byte to 0, as a drawing of the graphics device does; palette formats take the
/// nearest palette entry (see NearestPaletteIndex).
void SetPixelColor(TBitmap& bitmap, int x, int y, TColor color);

/// The alpha (fourth) byte of a 32-bit pixel; 0 for the other formats.
uint8_t GetPixelAlpha(const TBitmap& bitmap, int x, int y);

/// Sets the alpha byte of a 32-bit pixel; does nothing for the other formats.
void SetPixelAlpha(TBitmap& bitmap, int x, int y, uint8_t alpha);

/// The palette index of a pixel of a 1-, 4- or 8-bit bitmap; 0 for the other formats.
uint32_t GetPixelIndex(const TBitmap& bitmap, int x, int y);

/// Sets the palette index of a pixel of a 1-, 4- or 8-bit bitmap (the index is cut to the bit
/// count); does nothing for the other formats.
void SetPixelIndex(TBitmap& bitmap, int x, int y, uint32_t index);

/// The index of the palette entry nearest to a colour by the squared distance of red, green and
/// blue, the lower index on a tie; 0 for an empty palette.
int NearestPaletteIndex(std::span<const TRGBQuad> palette, TColor color);

/// The colour of a palette entry (the reserved byte is not part of it).
constexpr TColor ColorOf(const TRGBQuad& quad)
{
    return RGB(quad.rgbRed, quad.rgbGreen, quad.rgbBlue);
}

/// The palette entry of a colour.
constexpr TRGBQuad QuadOf(TColor color)
{
    return TRGBQuad { BlueOf(color), GreenOf(color), RedOf(color), 0 };
}

/// Index of pixel x of a row of 1, 4 or 8 bits (the leftmost pixel in the highest bits).
uint32_t ReadRowIndex(const uint8_t* row, int x, int bitsPerPixel);
/// Stores index of pixel x of a row of 1, 4 or 8 bits.
void WriteRowIndex(uint8_t* row, int x, int bitsPerPixel, uint32_t index);
/// Colour of pixel x of one row of the bitmap.
TColor ReadRowColor(const TBitmap& bitmap, const uint8_t* row, int x);
/// Stores a colour in pixel x of one row of the bitmap, as SetPixelColor does.
void WriteRowColor(TBitmap& bitmap, uint8_t* row, int x, TColor color);

} // namespace velmora

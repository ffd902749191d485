#pragma once

#include "graphics/bitmap.h"
#include "graphics/pixel_format.h"

namespace velmora
{

// Drawing operations on core bitmaps, as the canvas of a graphics device performs them.
// Rectangles are clipped to the bitmaps; a rectangle of no width or height draws nothing.
// Colours are taken by their red, green and blue bytes; palette bitmaps take the nearest palette
// entry of each colour.

/// Fills the whole bitmap with a colour; 32-bit bitmaps get alpha bytes of 0, as a fill of the
/// graphics device leaves them.
void FillBitmap(TBitmap& bitmap, TColor color);

/// Fills the rectangle of w x h pixels at (x, y), clipped to the bitmap, like FillBitmap.
void FillRect(TBitmap& bitmap, int x, int y, int w, int h, TColor color);

/// Draws the whole source with its top-left pixel at (x, y) of the destination, clipped.
/// Colours are converted to the destination's format; between bitmaps of one format (palette
/// bitmaps: with equal palettes) the pixel values are copied as they are, alpha bytes included.
/// Drawing into the 32-bit format from another one leaves alpha bytes of 0.
void CopyBitmap(TBitmap& dest, int x, int y, const TBitmap& src);

/// Draws the source rectangle (srcX, srcY, srcW, srcH) stretched onto the destination
/// rectangle (dstX, dstY, dstW, dstH) by nearest neighbour: destination column dstX + i takes
/// source column srcX + (i * srcW) / dstW, rows likewise. Destination pixels that fall outside
/// the destination, and those whose source pixel lies outside the source, are left alone.
/// Colours convert as in CopyBitmap.
void StretchCopy(TBitmap& dest, int dstX, int dstY, int dstW, int dstH, const TBitmap& src,
    int srcX, int srcY, int srcW, int srcH);

/// Draws the whole source over the whole destination (stretched by nearest neighbour when the
/// sizes differ) with every pixel of colour transparent replaced by the brush colour. When both
/// bitmaps are 32-bit the other pixels keep their alpha bytes and the brush pixels get 0.
void BrushCopy(TBitmap& dest, const TBitmap& src, TColor transparent, TColor brush);

/// A 1-bit bitmap of the source's size whose palette is black, white and whose pixels are 1
/// (white) where the source pixel has the colour and 0 (black) elsewhere.
TBitmap MakeMonochromeMask(const TBitmap& src, TColor color);

} // namespace velmora

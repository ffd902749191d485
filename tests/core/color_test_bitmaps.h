#pragma once

// Bitmaps built pixel by pixel for the colour tests.

#include "graphics/bitmap.h"
#include "graphics/bitmap_pixels.h"

#include <functional>

namespace velmora::test
{

/// A 24- or 32-bit bitmap whose pixel (x, y) has the colour colorAt(x, y); 32-bit pixels get
/// the alpha byte alpha.
inline TBitmap MakeTrueColorBitmap(int width, int height, TPixelFormat format,
    const std::function<TColor(int, int)>& colorAt, uint8_t alpha = 0)
{
    TBitmap bitmap(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            SetPixelColor(bitmap, x, y, colorAt(x, y));
            SetPixelAlpha(bitmap, x, y, alpha);
        }
    return bitmap;
}

/// A 24-bit bitmap of one colour.
inline TBitmap MakeSolidBitmap(int width, int height, TColor color)
{
    return MakeTrueColorBitmap(
        width, height, TPixelFormat::pf24bit, [color](int, int) { return color; });
}

} // namespace velmora::test

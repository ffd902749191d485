#pragma once

// Bitmaps built pixel by pixel for the colour tests.

#include "graphics/bitmap.h"
#include "graphics/pixel_format.h"

#include <cstdint>
#include <functional>
#include <random>

namespace velmora::test
{

/// A 24- or 32-bit bitmap whose pixel (x, y) has the colour colorAt(x, y); 32-bit pixels get
/// the alpha byte alpha.
inline TBitmap MakeTrueColorBitmap(int width, int height, TPixelFormat format,
    const std::function<TColor(int, int)>& colorAt, uint8_t alpha = 0)
{
    TBitmap bitmap(width, height, format);
    const size_t bytes = format == TPixelFormat::pf24bit ? 3 : 4;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const TColor color = colorAt(x, y);
            uint8_t* pixel = row + static_cast<size_t>(x) * bytes;
            pixel[0] = BlueOf(color);
            pixel[1] = GreenOf(color);
            pixel[2] = RedOf(color);
            if (bytes == 4)
                pixel[3] = alpha;
        }
    }
    return bitmap;
}

/// A 24-bit bitmap of one colour.
inline TBitmap MakeSolidBitmap(int width, int height, TColor color)
{
    return MakeTrueColorBitmap(
        width, height, TPixelFormat::pf24bit, [color](int, int) { return color; });
}

/// The colour of pixel (x, y) of a 24- or 32-bit bitmap.
inline TColor TrueColorAt(const TBitmap& bitmap, int x, int y)
{
    const size_t bytes = bitmap.PixelFormat() == TPixelFormat::pf24bit ? 3 : 4;
    const uint8_t* pixel = bitmap.ScanLine(y) + static_cast<size_t>(x) * bytes;
    return RGB(pixel[2], pixel[1], pixel[0]);
}

/// A random colour of 24 bits.
inline TColor RandomColor(std::mt19937& random)
{
    return random() & 0xFFFFFF;
}

} // namespace velmora::test

#pragma once

#include "graphics/bitmap.h"
#include "graphics/bitmap_ops.h"

#include <cstdint>

namespace velmora::bench
{

/// A square picture of smooth gradients in every channel, so that images of it compress and
/// blend as drawn icons do.
inline TBitmap GradientPicture(int size, TPixelFormat format)
{
    TBitmap bitmap(size, size, format);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            FillRect(bitmap, x, y, 1, 1,
                RGB(static_cast<uint8_t>(x * 255 / size), static_cast<uint8_t>(y * 255 / size),
                    static_cast<uint8_t>((x + y) * 127 / size)));
    return bitmap;
}

} // namespace velmora::bench

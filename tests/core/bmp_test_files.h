#pragma once

#include "graphics/bitmap.h"
#include "graphics/bitmap_info_header.h"
#include "support/byte_io.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace velmora::test
{

/// A .bmp file described field by field, the often set ones first, built into bytes.
struct TBmpFile {
    uint16_t bits = 24;
    int32_t width = 1;
    int32_t height = 1;
    Bytes data {}; // the pixel data as stored
    Bytes palette {}; // the colour table as stored, or any bytes before the pixel data
    uint32_t compression = BI_RGB;
    std::vector<uint32_t> masks {}; // inside a V2+ header, or after a 40-byte header
    uint32_t clrUsed = 0;
    uint32_t headerSize = 40;
    std::optional<uint32_t> offBits {}; // default: right after the colour table

    Bytes Build() const
    {
        Bytes out { 'B', 'M' };
        AppendU32(out, 0); // bfSize(4), patched below
        AppendU32(out, 0); // bfReserved1(2), bfReserved2(2)
        AppendU32(out, 0); // bfOffBits(4), patched below
        AppendU32(out, headerSize); // biSize(4)
        if (headerSize == 12) {
            AppendU16(out, static_cast<uint16_t>(width)); // bcWidth(2)
            AppendU16(out, static_cast<uint16_t>(height)); // bcHeight(2)
            AppendU16(out, 1); // bcPlanes(2)
            AppendU16(out, bits); // bcBitCount(2)
        } else {
            AppendU32(out, static_cast<uint32_t>(width)); // biWidth(4)
            AppendU32(out, static_cast<uint32_t>(height)); // biHeight(4)
            AppendU16(out, 1); // biPlanes(2)
            AppendU16(out, bits); // biBitCount(2)
            AppendU32(out, compression); // biCompression(4)
            out.resize(out.size() + 12, 0); // biSizeImage, biXPelsPerMeter, biYPelsPerMeter
            AppendU32(out, clrUsed); // biClrUsed(4)
            AppendU32(out, 0); // biClrImportant(4)
            size_t inHeader = headerSize >= 56 ? 4 : headerSize >= 52 ? 3 : 0;
            for (size_t i = 0; i < inHeader; ++i)
                AppendU32(out, i < masks.size() ? masks[i] : 0);
            out.resize(14 + headerSize, 0);
            if (headerSize == 40)
                for (uint32_t mask : masks)
                    AppendU32(out, mask);
        }
        out.insert(out.end(), palette.begin(), palette.end());
        WriteU32(out.data() + 10, offBits.value_or(static_cast<uint32_t>(out.size())));
        out.insert(out.end(), data.begin(), data.end());
        WriteU32(out.data() + 2, static_cast<uint32_t>(out.size()));
        return out;
    }
};

/// A bitmap of the format whose pixels and palette follow a simple pseudo-random sequence;
/// row padding and unused bits stay 0, as the reader leaves them.
inline TBitmap PatternBitmap(int width, int height, TPixelFormat format, uint32_t seed)
{
    TBitmap bitmap(width, height, format);
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<uint8_t>(seed >> 16);
    };
    for (TRGBQuad& quad : bitmap.Palette())
        quad = TRGBQuad { next(), next(), next(), next() };
    size_t usedBits = static_cast<size_t>(width) * static_cast<size_t>(bitmap.BitsPerPixel());
    for (int y = 0; y < height; ++y)
        for (size_t bit = 0; bit < usedBits; bit += 8)
            bitmap.ScanLine(y)[bit / 8] = static_cast<uint8_t>(
                next() & (usedBits - bit < 8 ? 0xFF << (8 - (usedBits - bit)) : 0xFF));
    return bitmap;
}

} // namespace velmora::test

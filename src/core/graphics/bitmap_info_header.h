#pragma once

#include "support/byte_io.h"

#include <cstdint>

namespace velmora
{

/// The 40-byte BITMAPINFOHEADER of bitmaps and BMP-style icon images.
struct TBitmapInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;

    static constexpr size_t Size = 40;

    /// Reads the 40 bytes at p (the caller guarantees they are there).
    static TBitmapInfoHeader FromBytes(const uint8_t* p)
    {
        TBitmapInfoHeader h;
        h.biSize = ReadU32(p + 0); // biSize(4)
        h.biWidth = ReadI32(p + 4); // biWidth(4)
        h.biHeight = ReadI32(p + 8); // biHeight(4)
        h.biPlanes = ReadU16(p + 12); // biPlanes(2)
        h.biBitCount = ReadU16(p + 14); // biBitCount(2)
        h.biCompression = ReadU32(p + 16); // biCompression(4)
        h.biSizeImage = ReadU32(p + 20); // biSizeImage(4)
        h.biXPelsPerMeter = ReadI32(p + 24); // biXPelsPerMeter(4)
        h.biYPelsPerMeter = ReadI32(p + 28); // biYPelsPerMeter(4)
        h.biClrUsed = ReadU32(p + 32); // biClrUsed(4)
        h.biClrImportant = ReadU32(p + 36); // biClrImportant(4)
        return h;
    }

    /// Writes the 40 bytes to p.
    void ToBytes(uint8_t* p) const
    {
        WriteU32(p + 0, biSize);
        WriteI32(p + 4, biWidth);
        WriteI32(p + 8, biHeight);
        WriteU16(p + 12, biPlanes);
        WriteU16(p + 14, biBitCount);
        WriteU32(p + 16, biCompression);
        WriteU32(p + 20, biSizeImage);
        WriteI32(p + 24, biXPelsPerMeter);
        WriteI32(p + 28, biYPelsPerMeter);
        WriteU32(p + 32, biClrUsed);
        WriteU32(p + 36, biClrImportant);
    }

    bool operator==(const TBitmapInfoHeader&) const = default;
};

inline constexpr uint32_t BI_RGB = 0;
inline constexpr uint32_t BI_RLE8 = 1;
inline constexpr uint32_t BI_RLE4 = 2;
inline constexpr uint32_t BI_BITFIELDS = 3;
inline constexpr uint32_t BI_ALPHABITFIELDS = 6;

} // namespace velmora

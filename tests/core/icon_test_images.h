#pragma once

// Builders of icon image bytes for the decoder and drawing tests.

#include "graphics/bitmap_info_header.h"
#include "graphics/pixel_format.h"
#include "support/byte_io.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace velmora::test_images
{

/// A BMP-style icon image to build: pixel values (palette indices or packed colours as stored)
/// and mask bits come from functions of (x, y) with y = 0 the top row.
struct TImageRecipe {
    int Width = 4;
    int Height = 4;
    int BitCount = 24;
    uint32_t Compression = BI_RGB;
    std::vector<uint32_t> Masks; // written after the 40-byte header
    std::vector<TRGBQuad> Palette; // written as the colour table
    uint32_t ClrUsed = 0;
    std::function<uint32_t(int, int)> Pixel = [](int, int) { return 0u; };
    std::function<bool(int, int)> MaskBit = [](int, int) { return false; };
    bool WithMask = true;
};

inline void PutBits(Bytes& row, int x, int bits, uint32_t value)
{
    if (bits >= 8) {
        for (int i = 0; i < bits / 8; ++i)
            row[static_cast<size_t>(x * bits / 8 + i)] = static_cast<uint8_t>(value >> (8 * i));
        return;
    }
    int bitPos = x * bits;
    row[static_cast<size_t>(bitPos / 8)]
        |= static_cast<uint8_t>((value & ((1u << bits) - 1)) << (8 - bits - bitPos % 8));
}

inline Bytes BuildImage(const TImageRecipe& recipe)
{
    TBitmapInfoHeader header;
    header.biWidth = recipe.Width;
    header.biHeight = recipe.Height * 2;
    header.biBitCount = static_cast<uint16_t>(recipe.BitCount);
    header.biCompression = recipe.Compression;
    header.biClrUsed = recipe.ClrUsed;
    Bytes out(TBitmapInfoHeader::Size);
    header.ToBytes(out.data());
    for (uint32_t mask : recipe.Masks)
        AppendU32(out, mask);
    for (const TRGBQuad& q : recipe.Palette) {
        out.push_back(q.rgbBlue);
        out.push_back(q.rgbGreen);
        out.push_back(q.rgbRed);
        out.push_back(q.rgbReserved);
    }
    size_t xorStride = static_cast<size_t>((recipe.Width * recipe.BitCount + 31) / 32 * 4);
    for (int y = recipe.Height - 1; y >= 0; --y) {
        Bytes row(xorStride, 0);
        for (int x = 0; x < recipe.Width; ++x)
            PutBits(row, x, recipe.BitCount, recipe.Pixel(x, y));
        out.insert(out.end(), row.begin(), row.end());
    }
    if (recipe.WithMask) {
        size_t andStride = static_cast<size_t>((recipe.Width + 31) / 32 * 4);
        for (int y = recipe.Height - 1; y >= 0; --y) {
            Bytes row(andStride, 0);
            for (int x = 0; x < recipe.Width; ++x)
                PutBits(row, x, 1, recipe.MaskBit(x, y) ? 1 : 0);
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    return out;
}

/// Wraps image data as a one-image icon file (header 0, 1, 1; one entry; data at 22).
inline Bytes WrapAsIcon(
    const Bytes& image, uint8_t width = 0, uint8_t height = 0, uint16_t bits = 0)
{
    Bytes out;
    AppendU16(out, 0); // idReserved(2)
    AppendU16(out, 1); // idType(2)
    AppendU16(out, 1); // idCount(2)
    out.push_back(width); // bWidth(1)
    out.push_back(height); // bHeight(1)
    out.push_back(0); // bColorCount(1)
    out.push_back(0); // bReserved(1)
    AppendU16(out, 1); // wPlanes(2)
    AppendU16(out, bits); // wBitCount(2)
    AppendU32(out, static_cast<uint32_t>(image.size())); // dwBytesInRes(4)
    AppendU32(out, 22); // dwImageOffset(4)
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

} // namespace velmora::test_images

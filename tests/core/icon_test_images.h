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
    std::vector<uint32_t> Masks {}; // written after the 40-byte header
    std::vector<TRGBQuad> Palette {}; // written as the colour table
    uint32_t ClrUsed = 0;
    std::function<uint32_t(int, int)> Pixel = [](int, int) { return 0u; };
    std::function<bool(int, int)> MaskBit = [](int, int) { return false; };
    bool WithMask = true;
};

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
    for (const TRGBQuad& q : recipe.Palette)
        out.insert(out.end(), { q.rgbBlue, q.rgbGreen, q.rgbRed, q.rgbReserved });
    // Rows bottom-up, padded to 4 bytes; pixels of less than a byte from the high bits down.
    auto appendRows = [&](int bits, const std::function<uint32_t(int, int)>& value) {
        for (int y = recipe.Height - 1; y >= 0; --y) {
            Bytes row(static_cast<size_t>((recipe.Width * bits + 31) / 32 * 4), 0);
            for (int x = 0; x < recipe.Width; ++x) {
                const uint32_t v = value(x, y);
                const size_t at = static_cast<size_t>(x * bits / 8);
                if (bits >= 8)
                    for (int i = 0; i < bits / 8; ++i)
                        row[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
                else
                    row[at] |= static_cast<uint8_t>(
                        (v & ((1u << bits) - 1)) << (8 - bits - x * bits % 8));
            }
            out.insert(out.end(), row.begin(), row.end());
        }
    };
    appendRows(recipe.BitCount, recipe.Pixel);
    if (recipe.WithMask)
        appendRows(1, [&](int x, int y) { return recipe.MaskBit(x, y) ? 1u : 0u; });
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
    out.insert(out.end(), { width, height, 0, 0 }); // bWidth, bHeight, bColorCount, bReserved
    AppendU16(out, 1); // wPlanes(2)
    AppendU16(out, bits); // wBitCount(2)
    AppendU32(out, static_cast<uint32_t>(image.size())); // dwBytesInRes(4)
    AppendU32(out, 22); // dwImageOffset(4)
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

} // namespace velmora::test_images

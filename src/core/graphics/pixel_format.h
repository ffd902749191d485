#pragma once

#include <cstdint>

namespace velmora
{

/// Pixel-format codes of bitmaps.
enum class TPixelFormat : uint8_t {
    pfDevice = 0,
    pf1bit = 1,
    pf4bit = 2,
    pf8bit = 3,
    pf15bit = 4,
    pf16bit = 5,
    pf24bit = 6,
    pf32bit = 7,
    pfCustom = 8,
};

/// Bits per pixel of a format; 0 for pfDevice and pfCustom.
constexpr int BitsPerPixelOf(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf1bit:
        return 1;
    case TPixelFormat::pf4bit:
        return 4;
    case TPixelFormat::pf8bit:
        return 8;
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit:
        return 16;
    case TPixelFormat::pf24bit:
        return 24;
    case TPixelFormat::pf32bit:
        return 32;
    default:
        return 0;
    }
}

/// The pixel format of an image's bit count: 1, 4, 8, 16, 24 and 32 give their formats;
/// every other count, 0 and 15 included, gives pfCustom.
constexpr TPixelFormat PixelFormatForBitCount(uint16_t bitCount)
{
    switch (bitCount) {
    case 1:
        return TPixelFormat::pf1bit;
    case 4:
        return TPixelFormat::pf4bit;
    case 8:
        return TPixelFormat::pf8bit;
    case 16:
        return TPixelFormat::pf16bit;
    case 24:
        return TPixelFormat::pf24bit;
    case 32:
        return TPixelFormat::pf32bit;
    default:
        return TPixelFormat::pfCustom;
    }
}

/// A colour value: red in the lowest byte, then green, then blue. A value whose high byte is
/// 0xFF names a system colour; ColorNone means "no colour".
using TColor = uint32_t;
inline constexpr TColor ColorNone = 0x1FFFFFFF;
inline constexpr TColor ColorInfoBk = 0xFF000018;

constexpr uint8_t RedOf(TColor c)
{
    return static_cast<uint8_t>(c);
}
constexpr uint8_t GreenOf(TColor c)
{
    return static_cast<uint8_t>(c >> 8);
}
constexpr uint8_t BlueOf(TColor c)
{
    return static_cast<uint8_t>(c >> 16);
}
constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b)
{
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

/// One palette entry, in the byte order of a DIB colour table.
struct TRGBQuad {
    uint8_t rgbBlue = 0;
    uint8_t rgbGreen = 0;
    uint8_t rgbRed = 0;
    uint8_t rgbReserved = 0;
    bool operator==(const TRGBQuad&) const = default;
};

} // namespace velmora

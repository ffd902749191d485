#include "graphics/bitmap_pixels.h"

#include "messages/messages.h"
#include "support/error.h"

#include <string>

namespace velmora
{

namespace
{

void CheckPixel(const TBitmap& bitmap, int x, int y)
{
    if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height())
        throw EListError(FormatText(Messages::PixelOutOfRange,
            { std::to_string(x), std::to_string(y), std::to_string(bitmap.Width()),
                std::to_string(bitmap.Height()) }));
}

constexpr uint8_t Widen5(uint32_t v)
{
    return static_cast<uint8_t>((v << 3) | (v >> 2));
}
constexpr uint8_t Widen6(uint32_t v)
{
    return static_cast<uint8_t>((v << 2) | (v >> 4));
}

bool IsPaletteFormat(TPixelFormat format)
{
    return format == TPixelFormat::pf1bit || format == TPixelFormat::pf4bit
        || format == TPixelFormat::pf8bit;
}

} // namespace

uint32_t ReadRowIndex(const uint8_t* row, int x, int bitsPerPixel)
{
    size_t ux = static_cast<size_t>(x);
    switch (bitsPerPixel) {
    case 1:
        return (row[ux >> 3] >> (7 - (ux & 7))) & 1u;
    case 4:
        return (ux & 1) ? (row[ux >> 1] & 0x0Fu) : (row[ux >> 1] >> 4);
    default:
        return row[ux];
    }
}

void WriteRowIndex(uint8_t* row, int x, int bitsPerPixel, uint32_t index)
{
    size_t ux = static_cast<size_t>(x);
    switch (bitsPerPixel) {
    case 1: {
        auto bit = static_cast<uint8_t>(0x80u >> (ux & 7));
        row[ux >> 3]
            = static_cast<uint8_t>((index & 1) ? (row[ux >> 3] | bit) : (row[ux >> 3] & ~bit));
        break;
    }
    case 4:
        if (ux & 1)
            row[ux >> 1] = static_cast<uint8_t>((row[ux >> 1] & 0xF0u) | (index & 0x0Fu));
        else
            row[ux >> 1] = static_cast<uint8_t>((row[ux >> 1] & 0x0Fu) | ((index & 0x0Fu) << 4));
        break;
    default:
        row[ux] = static_cast<uint8_t>(index);
        break;
    }
}

TColor ReadRowColor(const TBitmap& bitmap, const uint8_t* row, int x)
{
    size_t ux = static_cast<size_t>(x);
    switch (bitmap.PixelFormat()) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit: {
        uint32_t index = ReadRowIndex(row, x, bitmap.BitsPerPixel());
        const auto& palette = bitmap.Palette();
        return index < palette.size() ? ColorOf(palette[index]) : 0;
    }
    case TPixelFormat::pf15bit: {
        uint32_t v = ReadU16(row + 2 * ux);
        return RGB(Widen5((v >> 10) & 31), Widen5((v >> 5) & 31), Widen5(v & 31));
    }
    case TPixelFormat::pf16bit: {
        uint32_t v = ReadU16(row + 2 * ux);
        return RGB(Widen5((v >> 11) & 31), Widen6((v >> 5) & 63), Widen5(v & 31));
    }
    case TPixelFormat::pf24bit: {
        const uint8_t* p = row + 3 * ux;
        return RGB(p[2], p[1], p[0]);
    }
    case TPixelFormat::pf32bit: {
        const uint8_t* p = row + 4 * ux;
        return RGB(p[2], p[1], p[0]);
    }
    default:
        return 0;
    }
}

void WriteRowColor(TBitmap& bitmap, uint8_t* row, int x, TColor color)
{
    size_t ux = static_cast<size_t>(x);
    uint32_t r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    switch (bitmap.PixelFormat()) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit:
        WriteRowIndex(row, x, bitmap.BitsPerPixel(),
            static_cast<uint32_t>(NearestPaletteIndex(bitmap.Palette(), color)));
        break;
    case TPixelFormat::pf15bit:
        WriteU16(
            row + 2 * ux, static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)));
        break;
    case TPixelFormat::pf16bit:
        WriteU16(
            row + 2 * ux, static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)));
        break;
    case TPixelFormat::pf24bit: {
        uint8_t* p = row + 3 * ux;
        p[0] = static_cast<uint8_t>(b);
        p[1] = static_cast<uint8_t>(g);
        p[2] = static_cast<uint8_t>(r);
        break;
    }
    case TPixelFormat::pf32bit: {
        uint8_t* p = row + 4 * ux;
        p[0] = static_cast<uint8_t>(b);
        p[1] = static_cast<uint8_t>(g);
        p[2] = static_cast<uint8_t>(r);
        p[3] = 0;
        break;
    }
    default:
        break;
    }
}

int NearestPaletteIndex(std::span<const TRGBQuad> palette, TColor color)
{
    int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    int best = 0;
    int bestDistance = INT32_MAX;
    for (size_t i = 0; i < palette.size(); ++i) {
        int dr = palette[i].rgbRed - r;
        int dg = palette[i].rgbGreen - g;
        int db = palette[i].rgbBlue - b;
        int distance = dr * dr + dg * dg + db * db;
        // Strictly smaller keeps the lower index on a tie.
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
            if (distance == 0)
                break;
        }
    }
    return best;
}

TColor GetPixelColor(const TBitmap& bitmap, int x, int y)
{
    CheckPixel(bitmap, x, y);
    return ReadRowColor(bitmap, bitmap.ScanLine(y), x);
}

void SetPixelColor(TBitmap& bitmap, int x, int y, TColor color)
{
    CheckPixel(bitmap, x, y);
    WriteRowColor(bitmap, bitmap.ScanLine(y), x, color);
}

uint8_t GetPixelAlpha(const TBitmap& bitmap, int x, int y)
{
    CheckPixel(bitmap, x, y);
    if (bitmap.PixelFormat() != TPixelFormat::pf32bit)
        return 0;
    return bitmap.ScanLine(y)[4 * static_cast<size_t>(x) + 3];
}

void SetPixelAlpha(TBitmap& bitmap, int x, int y, uint8_t alpha)
{
    CheckPixel(bitmap, x, y);
    if (bitmap.PixelFormat() == TPixelFormat::pf32bit)
        bitmap.ScanLine(y)[4 * static_cast<size_t>(x) + 3] = alpha;
}

uint32_t GetPixelIndex(const TBitmap& bitmap, int x, int y)
{
    CheckPixel(bitmap, x, y);
    if (!IsPaletteFormat(bitmap.PixelFormat()))
        return 0;
    return ReadRowIndex(bitmap.ScanLine(y), x, bitmap.BitsPerPixel());
}

void SetPixelIndex(TBitmap& bitmap, int x, int y, uint32_t index)
{
    CheckPixel(bitmap, x, y);
    if (IsPaletteFormat(bitmap.PixelFormat()))
        WriteRowIndex(bitmap.ScanLine(y), x, bitmap.BitsPerPixel(), index);
}

} // namespace velmora

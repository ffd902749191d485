#include "graphics/bitmap_convert.h"

#include "graphics/bitmap_pixels.h"
#include "graphics/standard_colors.h"
#include "messages/messages.h"
#include "support/error.h"

#include <cstring>
#include <string>

namespace velmora
{

namespace
{

/// Remembers the nearest palette index of recently seen colours. A direct-mapped table is
/// enough: pictures repeat a few colours, and a miss only costs one palette search.
class TNearestCache
{
public:
    explicit TNearestCache(const std::vector<TRGBQuad>& palette)
        : m_palette(palette)
    {
        m_keys.fill(0xFFFFFFFF);
    }

    uint32_t IndexOf(TColor color)
    {
        size_t slot = ((color * 2654435761u) >> 20) & (Slots - 1);
        if (m_keys[slot] != color) {
            m_keys[slot] = color;
            m_indices[slot] = static_cast<uint8_t>(NearestPaletteIndex(m_palette, color));
        }
        return m_indices[slot];
    }

private:
    static constexpr size_t Slots = 4096;
    const std::vector<TRGBQuad>& m_palette;
    std::array<TColor, Slots> m_keys {};
    std::array<uint8_t, Slots> m_indices {};
};

} // namespace

std::array<TRGBQuad, 256> FixedPalette8()
{
    std::array<TRGBQuad, 256> palette {};
    for (int b = 0; b < 6; ++b)
        for (int g = 0; g < 6; ++g)
            for (int r = 0; r < 6; ++r)
                palette[static_cast<size_t>(36 * b + 6 * g + r)]
                    = QuadOf(RGB(static_cast<uint8_t>(51 * r), static_cast<uint8_t>(51 * g),
                        static_cast<uint8_t>(51 * b)));
    for (int i = 0; i < 40; ++i) {
        auto grey = static_cast<uint8_t>(8 + 6 * i);
        palette[static_cast<size_t>(216 + i)] = QuadOf(RGB(grey, grey, grey));
    }
    return palette;
}

std::vector<TRGBQuad> ConversionPalette(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf1bit:
        return { QuadOf(0x000000), QuadOf(0xFFFFFF) };
    case TPixelFormat::pf4bit: {
        std::vector<TRGBQuad> palette;
        for (TColor color : StandardColors)
            palette.push_back(QuadOf(color));
        return palette;
    }
    case TPixelFormat::pf8bit: {
        auto fixed = FixedPalette8();
        return { fixed.begin(), fixed.end() };
    }
    default:
        return {};
    }
}

void ConvertPixelFormat(TBitmap& bitmap, TPixelFormat format)
{
    if (BitsPerPixelOf(format) == 0)
        throw EInvalidGraphic(FormatText(
            Messages::PixelFormatNotConvertible, { std::to_string(static_cast<int>(format)) }));
    if (bitmap.PixelFormat() == format)
        return;
    TBitmap result(bitmap.Width(), bitmap.Height(), format);
    int bits = result.BitsPerPixel();
    if (bits <= 8)
        result.Palette() = ConversionPalette(format);
    TNearestCache cache(result.Palette());
    bool fromAlpha = bitmap.PixelFormat() == TPixelFormat::pf32bit;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* srcRow = bitmap.ScanLine(y);
        uint8_t* destRow = result.ScanLine(y);
        if (fromAlpha && format == TPixelFormat::pf24bit) {
            // The common case of dropping the alpha bytes goes without colour values.
            for (size_t x = 0; x < static_cast<size_t>(bitmap.Width()); ++x)
                std::memcpy(destRow + 3 * x, srcRow + 4 * x, 3);
            continue;
        }
        for (int x = 0; x < bitmap.Width(); ++x) {
            TColor color = ReadRowColor(bitmap, srcRow, x);
            if (bits <= 8)
                WriteRowIndex(destRow, x, bits, cache.IndexOf(color));
            else
                WriteRowColor(result, destRow, x, color); // 32-bit targets get alpha 0
        }
    }
    bitmap = std::move(result);
}

} // namespace velmora

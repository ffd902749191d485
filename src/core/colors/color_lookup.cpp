#include "colors/color_lookup.h"

#include <algorithm>
#include <cstdlib>

namespace velmora
{

TColorPalette GrayScalePalette()
{
    TColorPalette palette(256);
    for (size_t i = 0; i < palette.size(); ++i) {
        const auto level = static_cast<uint8_t>(i);
        palette[i] = TRGBQuad { level, level, level, 0 };
    }
    return palette;
}

TColorPalette WebSafePalette()
{
    TColorPalette palette;
    palette.reserve(216);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(TRGBQuad { static_cast<uint8_t>(51 * b),
                    static_cast<uint8_t>(51 * g), static_cast<uint8_t>(51 * r), 0 });
    return palette;
}

uint8_t TGrayScaleLookup::MapColor(
    uint8_t red, uint8_t green, uint8_t blue, uint8_t& outRed, uint8_t& outGreen, uint8_t& outBlue)
{
    // The weights sum to 256, so a grey (v, v, v) gives exactly v.
    const auto level = static_cast<uint8_t>((77 * red + 150 * green + 29 * blue) / 256);
    outRed = outGreen = outBlue = level;
    return level;
}

uint8_t TNetscapeColorLookup::MapColor(
    uint8_t red, uint8_t green, uint8_t blue, uint8_t& outRed, uint8_t& outGreen, uint8_t& outBlue)
{
    const int r = (red + 3) / 51;
    const int g = (green + 3) / 51;
    const int b = (blue + 3) / 51;
    outRed = static_cast<uint8_t>(51 * r);
    outGreen = static_cast<uint8_t>(51 * g);
    outBlue = static_cast<uint8_t>(51 * b);
    return static_cast<uint8_t>(36 * r + 6 * g + b);
}

TFastColorLookup::TFastColorLookup(const TColorPalette& palette)
    : TColorLookup(static_cast<int32_t>(std::min<size_t>(palette.size(), 256)))
    , m_palette(palette.begin(), palette.begin() + Colors)
    , m_cache(32768, EmptyCell)
{
    for (size_t i = 0; i < m_palette.size(); ++i) {
        const TRGBQuad& entry = m_palette[i];
        uint16_t& cell = m_cache[Key(entry.rgbRed, entry.rgbGreen, entry.rgbBlue)];
        if (cell == EmptyCell)
            cell = static_cast<uint16_t>(i);
    }
}

uint8_t TFastColorLookup::MapColor(
    uint8_t red, uint8_t green, uint8_t blue, uint8_t& outRed, uint8_t& outGreen, uint8_t& outBlue)
{
    // An empty palette leaves nothing to map to: its callers stop before mapping anything.
    if (m_palette.empty()) {
        outRed = outGreen = outBlue = 0;
        return 0;
    }
    uint16_t& cell = m_cache[Key(red, green, blue)];
    if (cell == EmptyCell) {
        int bestDistance = 0x30000;
        size_t best = 0;
        for (size_t i = 0; i < m_palette.size(); ++i) {
            const TRGBQuad& entry = m_palette[i];
            const int distance = std::abs(entry.rgbRed - red) + std::abs(entry.rgbGreen - green)
                + std::abs(entry.rgbBlue - blue);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        cell = static_cast<uint16_t>(best);
    }
    const TRGBQuad& entry = m_palette[cell];
    outRed = entry.rgbRed;
    outGreen = entry.rgbGreen;
    outBlue = entry.rgbBlue;
    return static_cast<uint8_t>(cell);
}

TDitherEngine::TDitherEngine(int width, TColorLookup& lookup)
    : m_lookup(lookup)
    , m_width(width)
{
}

uint8_t TDitherEngine::MapPixel(
    uint8_t red, uint8_t green, uint8_t blue, uint8_t& outRed, uint8_t& outGreen, uint8_t& outBlue)
{
    const uint8_t index = m_lookup.MapColor(red, green, blue, outRed, outGreen, outBlue);
    m_column += m_direction;
    return index;
}

void TDitherEngine::NextRow()
{
    m_direction = -m_direction;
    m_column = m_direction == 1 ? 0 : m_width - 1;
}

} // namespace velmora

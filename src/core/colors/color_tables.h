#pragma once

#include "graphics/pixel_format.h"

#include <array>
#include <cstddef>

namespace velmora
{

namespace Detail
{
constexpr std::array<TColor, 216> MakeWebSafeColors()
{
    std::array<TColor, 216> colors {};
    for (int i = 0; i < 216; ++i) {
        auto level = [](int l) { return static_cast<uint8_t>(51 * l); };
        colors[static_cast<std::size_t>(i)] = RGB(level(i % 6), level(i / 6 % 6), level(i / 36));
    }
    return colors;
}
} // namespace Detail

/// The 216 web-safe colours: entry 36*b + 6*g + r is (51*r, 51*g, 51*b), so red varies fastest
/// and blue slowest. Entry 0 is black, entry 5 pure red, entry 215 white.
inline constexpr std::array<TColor, 216> WebSafeColors = Detail::MakeWebSafeColors();

/// The position of a colour value in StandardColors, or -1. The values are compared whole, so a
/// system colour or a value with a non-zero high byte is never found.
int FindStandardColor(TColor color);

/// The position of a colour value in WebSafeColors, or -1 (compared whole, as above).
int FindWebSafeColor(TColor color);

/// True when the colour's red, green and blue are equal; a system colour is resolved first.
bool IsGrayColor(TColor color);

} // namespace velmora

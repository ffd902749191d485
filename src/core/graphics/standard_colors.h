#pragma once

#include "graphics/pixel_format.h"

#include <array>

namespace velmora
{

/// The 16 colours of the standard 4-bit palette, in palette order (red in the low byte).
inline constexpr std::array<TColor, 16> StandardColors = {
    0x000000,
    0x000080,
    0x008000,
    0x008080,
    0x800000,
    0x800080,
    0x808000,
    0x808080,
    0xC0C0C0,
    0x0000FF,
    0x00FF00,
    0x00FFFF,
    0xFF0000,
    0xFF00FF,
    0xFFFF00,
    0xFFFFFF,
};

} // namespace velmora

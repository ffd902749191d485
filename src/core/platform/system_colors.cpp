#include "platform/system_colors.h"

#include <atomic>

namespace velmora
{

namespace
{

const TDefaultSystemColors defaultSystemColors;
std::atomic<const ISystemColors*> currentSystemColors { &defaultSystemColors };

} // namespace

TColor TDefaultSystemColors::Resolve(TColor systemColor) const
{
    switch (systemColor) {
    case 0xFF000018: // clInfoBk
        return 0xE1FFFF;
    case 0xFF00000F: // clBtnFace
        return 0xF0F0F0;
    case 0xFF000008: // clWindowText
        return 0x000000;
    case 0xFF000005: // clWindow
        return 0xFFFFFF;
    default:
        return 0x000000;
    }
}

void SetSystemColors(const ISystemColors* colors)
{
    currentSystemColors.store(colors != nullptr ? colors : &defaultSystemColors);
}

const ISystemColors& SystemColors()
{
    return *currentSystemColors.load();
}

TColor ColorToRGB(TColor color)
{
    if ((color >> 24) == 0xFF)
        return SystemColors().Resolve(color);
    return color;
}

} // namespace velmora

#pragma once

#include "graphics/pixel_format.h"

namespace velmora
{

/// The platform's system colours: colour values whose high byte is 0xFF name one (0xFF000018
/// the tooltip background, 0xFF00000F the button face, 0xFF000008 the window text, 0xFF000005
/// the window background). The GUI answers them from the desktop's palette.
class ISystemColors
{
public:
    virtual ~ISystemColors() = default;
    /// The RGB value of a system colour (high byte 0xFF); the high byte of the answer is 0.
    virtual TColor Resolve(TColor systemColor) const = 0;
};

/// The resolver used until the GUI installs its own: fixed values (tooltip background
/// 0xE1FFFF, button face 0xF0F0F0, window text black, window white; every other system colour
/// black).
class TDefaultSystemColors : public ISystemColors
{
public:
    TColor Resolve(TColor systemColor) const override;
};

/// Installs the resolver that the core asks from now on; nullptr goes back to the default. The
/// resolver is not owned and must outlive its use.
void SetSystemColors(const ISystemColors* colors);

/// The resolver in use.
const ISystemColors& SystemColors();

/// A colour value as RGB: a system colour (high byte 0xFF) is resolved, any other value is
/// returned as it is.
TColor ColorToRGB(TColor color);

} // namespace velmora

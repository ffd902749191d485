#pragma once

#include "platform/clipboard.h"
#include "platform/system_colors.h"

namespace velmora
{

/// The desktop's clipboard: pictures travel as image data.
class TQtClipboard : public IClipboard
{
public:
    bool HasBitmap() const override;
    std::optional<TBitmap> GetBitmap() const override;
    void SetBitmap(const TBitmap& bitmap) override;
};

/// The system colours from the application's palette: tooltip background, button face,
/// window text and window.
class TQtSystemColors : public ISystemColors
{
public:
    TColor Resolve(TColor systemColor) const override;
};

} // namespace velmora

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
    /// The bitmap as image data and, beside it, the picture with alpha as "image/png".
    void SetBitmapWithPicture(const TBitmap& bitmap, const TBitmap& picture) override;
    /// A "image/png" offer (this program's, GIMP's and others'), or an image with an alpha
    /// channel, when it is not fully opaque.
    std::optional<TBitmap> GetPicture() const override;
};

/// The system colours from the application's palette: tooltip background, button face,
/// window text and window.
class TQtSystemColors : public ISystemColors
{
public:
    TColor Resolve(TColor systemColor) const override;
};

} // namespace velmora

#pragma once

#include "graphics/bitmap.h"

#include <optional>

namespace velmora
{

/// The system clipboard as the icon document uses it: images travel as bitmaps. The GUI
/// implements it over the desktop's clipboard; tests use an in-memory one.
class IClipboard
{
public:
    virtual ~IClipboard() = default;
    /// True when the clipboard holds a picture.
    virtual bool HasBitmap() const = 0;
    /// The clipboard's picture, or none when it holds none.
    virtual std::optional<TBitmap> GetBitmap() const = 0;
    /// Puts a picture on the clipboard in place of what it held.
    virtual void SetBitmap(const TBitmap& bitmap) = 0;
    /// Puts a picture on the clipboard as a bitmap and, beside it, a 32-bit picture with
    /// straight alpha (offered as PNG) that keeps its transparency.
    virtual void SetBitmapWithPicture(const TBitmap& bitmap, const TBitmap& /*picture*/)
    {
        SetBitmap(bitmap);
    }
    /// The clipboard's picture as 32 bits with straight alpha when it carries transparency (a
    /// PNG or an image with an alpha channel); none otherwise.
    virtual std::optional<TBitmap> GetPicture() const { return std::nullopt; }
};

} // namespace velmora

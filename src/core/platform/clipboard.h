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
};

} // namespace velmora

#pragma once

#include "platform/clipboard.h"

namespace velmora
{

/// A clipboard that lives in the process's memory, for panes without a desktop (the
/// command-line tool) and for tests.
class TMemoryClipboard : public IClipboard
{
public:
    bool HasBitmap() const override { return m_bitmap.has_value(); }
    std::optional<TBitmap> GetBitmap() const override { return m_bitmap; }
    void SetBitmap(const TBitmap& bitmap) override
    {
        m_bitmap = bitmap;
        m_picture.reset();
    }
    void SetBitmapWithPicture(const TBitmap& bitmap, const TBitmap& picture) override
    {
        m_bitmap = bitmap;
        m_picture = picture;
    }
    std::optional<TBitmap> GetPicture() const override { return m_picture; }

private:
    std::optional<TBitmap> m_bitmap;
    std::optional<TBitmap> m_picture;
};

} // namespace velmora

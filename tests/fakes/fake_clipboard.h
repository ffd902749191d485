#pragma once

#include "platform/clipboard.h"

namespace velmora::test
{

/// A clipboard that lives in memory and counts what was put on it.
class TFakeClipboard : public IClipboard
{
public:
    bool HasBitmap() const override { return m_bitmap.has_value(); }
    std::optional<TBitmap> GetBitmap() const override { return m_bitmap; }
    void SetBitmap(const TBitmap& bitmap) override
    {
        m_bitmap = bitmap;
        ++Puts;
    }
    void Clear() { m_bitmap.reset(); }

    int Puts = 0;

private:
    std::optional<TBitmap> m_bitmap;
};

} // namespace velmora::test

#pragma once

#include "support/byte_io.h"

#include <cstdint>

namespace velmora
{

/// The icon object of one image: it holds the image as a complete one-image icon file (a
/// 6-byte header, one 16-byte entry and the image data) and gives it back byte for byte.
/// Its decoded pictures live in the program's cache of decoded pictures under its cache key,
/// which changes with the held bytes; the pictures go when the object goes.
class TIcon
{
public:
    TIcon();
    TIcon(const TIcon& other);
    TIcon& operator=(const TIcon& other);
    /// A moved icon keeps its pictures; the one it leaves behind is empty.
    TIcon(TIcon&& other) noexcept;
    TIcon& operator=(TIcon&& other) noexcept;
    ~TIcon();

    /// Replaces the held bytes by a copy of the stream's bytes.
    void LoadFromStream(ByteSpan stream);
    /// Replaces the held bytes, taking them over.
    void LoadFromStream(Bytes&& stream);
    /// Appends the held bytes to a stream.
    void SaveToStream(Bytes& stream) const
    {
        stream.insert(stream.end(), m_data.begin(), m_data.end());
    }
    /// True when the icon holds nothing.
    bool Empty() const { return m_data.empty(); }
    /// The one-image icon file.
    const Bytes& Data() const { return m_data; }

    /// The key of the held bytes' pictures in the program's cache of decoded pictures.
    uint64_t CacheKey() const { return m_cacheKey; }

private:
    void Renew();

    Bytes m_data;
    uint64_t m_cacheKey;
};

} // namespace velmora

#pragma once

#include "support/byte_io.h"

#include <memory>

namespace velmora
{

struct TIconImage;

/// The icon object of one image: it holds the image as a complete one-image icon file (a
/// 6-byte header, one 16-byte entry and the image data) and gives it back byte for byte.
class TIcon
{
public:
    /// Replaces the held bytes by a copy of the stream's bytes.
    void LoadFromStream(ByteSpan stream)
    {
        m_data.assign(stream.begin(), stream.end());
        m_decoded.reset();
    }
    /// Replaces the held bytes, taking them over.
    void LoadFromStream(Bytes&& stream)
    {
        m_data = std::move(stream);
        m_decoded.reset();
    }
    /// Appends the held bytes to a stream.
    void SaveToStream(Bytes& stream) const
    {
        stream.insert(stream.end(), m_data.begin(), m_data.end());
    }
    /// True when the icon holds nothing.
    bool Empty() const { return m_data.empty(); }
    /// The one-image icon file.
    const Bytes& Data() const { return m_data; }

    /// The decoded picture kept from an earlier decoding of the held bytes, or none. Like a
    /// platform icon handle, the object keeps its pixels so that repaints do not decode again.
    const std::shared_ptr<const TIconImage>& Decoded() const { return m_decoded; }
    void SetDecoded(std::shared_ptr<const TIconImage> image) const { m_decoded = std::move(image); }

private:
    Bytes m_data;
    mutable std::shared_ptr<const TIconImage> m_decoded;
};

} // namespace velmora

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace velmora
{

using Bytes = std::vector<uint8_t>;
using ByteSpan = std::span<const uint8_t>;

/// A byte buffer that is not zero-filled when made, for data that is read over it at once.
class TByteBuffer
{
public:
    TByteBuffer() = default;
    explicit TByteBuffer(size_t size)
        : m_data(std::make_unique_for_overwrite<uint8_t[]>(size))
        , m_size(size)
    {
    }
    uint8_t* data() { return m_data.get(); }
    const uint8_t* data() const { return m_data.get(); }
    size_t size() const { return m_size; }
    /// Shortens the buffer to its first size bytes.
    void Shrink(size_t size) { m_size = size < m_size ? size : m_size; }

private:
    std::unique_ptr<uint8_t[]> m_data;
    size_t m_size = 0;
};

// Little-endian field access. Callers check bounds before reading; these only assemble bytes.

inline uint16_t ReadU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8)
        | (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t ReadI32(const uint8_t* p)
{
    return static_cast<int32_t>(ReadU32(p));
}

inline void WriteU16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void WriteU32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

inline void WriteI32(uint8_t* p, int32_t v)
{
    WriteU32(p, static_cast<uint32_t>(v));
}

inline void AppendU16(Bytes& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void AppendU32(Bytes& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

} // namespace velmora

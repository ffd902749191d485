#pragma once

#include "support/byte_io.h"

#include <cstdint>
#include <optional>

namespace velmora
{

class TFileReader;

/// Random access to the bytes of a file or of a buffer, for readers that look only at the
/// parts of a large file they need (headers, tables, one resource) instead of reading it whole.
class TByteSource
{
public:
    /// Bytes held in memory; they must outlive the source.
    explicit TByteSource(ByteSpan bytes)
        : m_bytes(bytes)
        , m_size(bytes.size())
    {
    }
    /// An open file; it must outlive the source.
    explicit TByteSource(const TFileReader& file);

    /// The number of bytes.
    uint64_t Size() const { return m_size; }
    /// True when the count bytes at offset lie wholly inside the source.
    bool Contains(uint64_t offset, uint64_t count) const
    {
        return offset <= m_size && count <= m_size - offset;
    }
    /// The count bytes at offset, or none when they do not all lie inside the source or count
    /// exceeds MaxRead. Read errors of a file are raised (EInOutError).
    std::optional<Bytes> Read(uint64_t offset, uint64_t count) const;

    /// The largest read a caller may ask for: every table and resource that the version readers
    /// look at is far smaller, so a larger request comes from a damaged or hostile file.
    static constexpr uint64_t MaxRead = 16 * 1024 * 1024;

private:
    ByteSpan m_bytes;
    const TFileReader* m_file = nullptr;
    uint64_t m_size = 0;
};

} // namespace velmora

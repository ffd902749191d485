#include "programs/byte_source.h"

#include "support/file_io.h"

namespace velmora
{

TByteSource::TByteSource(const TFileReader& file)
    : m_file(&file)
    , m_size(file.Size())
{
}

std::optional<Bytes> TByteSource::Read(uint64_t offset, uint64_t count) const
{
    if (count > MaxRead || !Contains(offset, count))
        return std::nullopt;
    if (!m_file)
        return Bytes(m_bytes.begin() + static_cast<ptrdiff_t>(offset),
            m_bytes.begin() + static_cast<ptrdiff_t>(offset + count));
    Bytes bytes = m_file->ReadAt(offset, count);
    if (bytes.size() != count)
        return std::nullopt; // the file shrank since it was opened
    return bytes;
}

} // namespace velmora

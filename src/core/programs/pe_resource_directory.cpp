#include "programs/pe_resource_directory.h"

#include "programs/byte_source.h"
#include "programs/version_query.h"

#include <algorithm>
#include <cstring>

namespace velmora
{

namespace
{

constexpr uint64_t DirectoryHeaderSize = 16;
constexpr uint64_t DirectoryEntrySize = 8;
constexpr uint64_t DataEntrySize = 16;
constexpr uint64_t HeadSize = 256 * 1024;

} // namespace

TPeResourceDirectory::TPeResourceDirectory(
    const TByteSource& source, const TPeImage& image, uint64_t maxEntries)
    : m_source(source)
    , m_image(image)
    , m_range(image.ResourceRoot().value_or(TFileRange {}))
    , m_budget(maxEntries)
{
    if (std::optional<Bytes> head = source.Read(m_range.Offset, std::min(m_range.Size, HeadSize)))
        m_head = std::move(*head);
}

std::optional<Bytes> TPeResourceDirectory::Read(uint64_t offset, uint64_t count) const
{
    if (offset > m_range.Size || count > m_range.Size - offset)
        return std::nullopt;
    if (offset <= m_head.size() && count <= m_head.size() - offset)
        return Bytes(m_head.begin() + static_cast<ptrdiff_t>(offset),
            m_head.begin() + static_cast<ptrdiff_t>(offset + count));
    return m_source.Read(m_range.Offset + offset, count);
}

std::optional<std::vector<TPeResourceEntry>> TPeResourceDirectory::Entries(uint32_t offset)
{
    std::optional<Bytes> header = Read(offset, DirectoryHeaderSize);
    if (!header)
        return std::nullopt;
    uint32_t count = uint32_t { ReadU16(header->data() + 12) } // NumberOfNamedEntries
        + ReadU16(header->data() + 14); // NumberOfIdEntries
    if (count > m_budget) {
        m_exhausted = true;
        return std::nullopt;
    }
    m_budget -= count;
    std::optional<Bytes> table
        = Read(uint64_t { offset } + DirectoryHeaderSize, count * DirectoryEntrySize);
    if (!table)
        return std::nullopt;
    std::vector<TPeResourceEntry> entries(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* p = table->data() + i * DirectoryEntrySize;
        entries[i] = { ReadU32(p + 0), ReadU32(p + 4) };
    }
    return entries;
}

std::optional<std::string> TPeResourceDirectory::NameText(const TPeResourceEntry& entry) const
{
    const uint32_t offset = entry.Name & ~TPeResourceEntry::HighBit;
    std::optional<Bytes> length = Read(offset, 2);
    if (!length)
        return std::nullopt;
    std::optional<Bytes> units
        = Read(uint64_t { offset } + 2, uint64_t { ReadU16(length->data()) } * 2);
    if (!units)
        return std::nullopt;
    return Utf16ToUtf8(units->data(), units->size() / 2);
}

std::optional<TFileRange> TPeResourceDirectory::Data(uint32_t offset) const
{
    std::optional<Bytes> dataEntry = Read(offset, DataEntrySize);
    if (!dataEntry)
        return std::nullopt;
    uint32_t rva = ReadU32(dataEntry->data() + 0); // OffsetToData
    uint32_t size = ReadU32(dataEntry->data() + 4); // Size
    std::optional<TFileRange> data = m_image.MapAddress(rva);
    if (!data || data->Size < size || !m_source.Contains(data->Offset, size))
        return std::nullopt;
    data->Size = size;
    return data;
}

} // namespace velmora

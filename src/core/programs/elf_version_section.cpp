#include "programs/elf_version_section.h"

#include "programs/byte_source.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace velmora
{

namespace
{

constexpr uint8_t Class32 = 1; // ELFCLASS32
constexpr uint8_t Class64 = 2; // ELFCLASS64
constexpr uint8_t LittleEndian = 1; // ELFDATA2LSB
constexpr uint32_t NoBits = 8; // SHT_NOBITS: the section occupies no bytes in the file
constexpr uint16_t ExtendedIndex = 0xFFFF; // SHN_XINDEX
// More sections than an executable has; a larger count comes from a damaged header.
constexpr uint64_t MaxSections = 65536;
// A VS_VERSIONINFO structure measures its length in 16 bits.
constexpr uint64_t MaxVersionInfoSize = 0xFFFF;

using Status = TVersionResourceStatus;

// The fields of a section header that the search uses, from either word size.
struct TSectionHeader {
    uint32_t Name = 0;
    uint32_t Type = 0;
    uint64_t Offset = 0;
    uint64_t Size = 0;
    uint32_t Link = 0;
};

class TElfLayout
{
public:
    explicit TElfLayout(bool is64)
        : m_is64(is64)
    {
    }
    uint64_t HeaderSize() const { return m_is64 ? 64 : 52; }
    uint64_t MinSectionHeaderSize() const { return m_is64 ? 64 : 40; }

    TSectionHeader Section(const uint8_t* p) const
    {
        if (m_is64)
            return { ReadU32(p + 0), ReadU32(p + 4), ReadU64(p + 24), ReadU64(p + 32),
                ReadU32(p + 40) }; // sh_name, sh_type, sh_offset, sh_size, sh_link
        return { ReadU32(p + 0), ReadU32(p + 4), ReadU32(p + 16), ReadU32(p + 20),
            ReadU32(p + 24) };
    }
    uint64_t SectionTableOffset(const uint8_t* header) const // e_shoff
    {
        return m_is64 ? ReadU64(header + 0x28) : ReadU32(header + 0x20);
    }
    uint16_t SectionHeaderSize(const uint8_t* header) const // e_shentsize
    {
        return ReadU16(header + (m_is64 ? 0x3A : 0x2E));
    }
    uint16_t SectionCount(const uint8_t* header) const // e_shnum
    {
        return ReadU16(header + (m_is64 ? 0x3C : 0x30));
    }
    uint16_t NameTableIndex(const uint8_t* header) const // e_shstrndx
    {
        return ReadU16(header + (m_is64 ? 0x3E : 0x32));
    }

private:
    static uint64_t ReadU64(const uint8_t* p)
    {
        return ReadU32(p) | (uint64_t { ReadU32(p + 4) } << 32);
    }

    bool m_is64;
};

} // namespace

TVersionResource FindElfVersionSection(const TByteSource& source)
{
    const TVersionResource damaged { Status::Damaged, {} };
    std::optional<Bytes> ident = source.Read(0, 16);
    if (!ident || ((*ident)[4] != Class32 && (*ident)[4] != Class64) || (*ident)[5] != LittleEndian)
        return {}; // an ELF file of a kind this program never is
    TElfLayout layout((*ident)[4] == Class64);
    std::optional<Bytes> header = source.Read(0, layout.HeaderSize());
    if (!header)
        return damaged;
    uint64_t tableOffset = layout.SectionTableOffset(header->data());
    if (tableOffset == 0)
        return {}; // no section headers
    uint64_t entrySize = layout.SectionHeaderSize(header->data());
    if (entrySize < layout.MinSectionHeaderSize())
        return damaged;

    // Section 0 holds the section count and the name table's index when they do not fit into
    // the file header.
    std::optional<Bytes> first = source.Read(tableOffset, entrySize);
    if (!first)
        return damaged;
    TSectionHeader zero = layout.Section(first->data());
    uint64_t count = layout.SectionCount(header->data());
    if (count == 0)
        count = zero.Size;
    uint64_t namesIndex = layout.NameTableIndex(header->data());
    if (namesIndex == ExtendedIndex)
        namesIndex = zero.Link;
    if (count > MaxSections || namesIndex >= count)
        return damaged;
    std::optional<Bytes> table = source.Read(tableOffset, count * entrySize);
    if (!table)
        return damaged;

    TSectionHeader names = layout.Section(table->data() + namesIndex * entrySize);
    if (names.Type == NoBits || !source.Contains(names.Offset, names.Size))
        return damaged;
    // Each name is compared with the wanted one and its terminating zero, so a name table
    // is read only where such a name could be.
    constexpr uint64_t wantedSize = sizeof(VersionSectionName);
    for (uint64_t i = 0; i < count; ++i) {
        TSectionHeader section = layout.Section(table->data() + i * entrySize);
        if (section.Name >= names.Size)
            return damaged;
        if (names.Size - section.Name < wantedSize)
            continue;
        std::optional<Bytes> name = source.Read(names.Offset + section.Name, wantedSize);
        if (!name)
            return damaged;
        if (std::memcmp(name->data(), VersionSectionName, wantedSize) != 0)
            continue;
        if (section.Type == NoBits || section.Size == 0)
            return {};
        if (!source.Contains(section.Offset, section.Size))
            return damaged;
        std::optional<Bytes> bytes
            = source.Read(section.Offset, std::min(section.Size, MaxVersionInfoSize));
        if (!bytes)
            return damaged;
        return TakeVersionInfo(std::move(*bytes));
    }
    return {};
}

} // namespace velmora

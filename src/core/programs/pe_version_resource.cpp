#include "programs/pe_version_resource.h"

#include "programs/byte_source.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace velmora
{

namespace
{

constexpr uint64_t DosHeaderSize = 64;
constexpr uint64_t NewHeaderOffsetField = 0x3C; // e_lfanew
constexpr uint64_t FileHeaderSize = 24; // "PE\0\0" and the COFF file header
constexpr uint64_t SectionHeaderSize = 40;
constexpr uint16_t Pe32Magic = 0x10B;
constexpr uint16_t Pe32PlusMagic = 0x20B;
constexpr uint32_t ResourceDirectoryIndex = 2;
// The Windows loader refuses images with more sections.
constexpr uint16_t MaxSections = 96;

constexpr uint64_t DirectoryHeaderSize = 16;
constexpr uint64_t DirectoryEntrySize = 8;
constexpr uint64_t DataEntrySize = 16;
constexpr uint32_t HighBit = 0x80000000;
constexpr uint32_t VersionType = 16; // RT_VERSION
constexpr uint32_t VersionInfoId = 1; // VS_VERSION_INFO
// A resource directory with more entries than this is not one a real file holds under the
// levels that lead to a version resource.
constexpr uint32_t MaxDirectoryEntries = 4096;
// A VS_VERSIONINFO structure measures its length in 16 bits.
constexpr uint32_t MaxVersionInfoSize = 0xFFFF;

using Status = TVersionResourceStatus;

struct TSection {
    uint32_t VirtualAddress = 0;
    uint32_t RawSize = 0;
    uint32_t RawOffset = 0;
};

// Where the bytes of a relative virtual address lie in the file.
struct TFileRange {
    uint64_t Offset = 0;
    uint64_t Size = 0; // from Offset to the end of the section's data in the file
};

std::optional<TFileRange> MapAddress(const std::vector<TSection>& sections, uint32_t rva)
{
    for (const TSection& section : sections) {
        if (rva >= section.VirtualAddress && rva - section.VirtualAddress < section.RawSize) {
            uint64_t into = rva - section.VirtualAddress;
            return TFileRange { uint64_t { section.RawOffset } + into, section.RawSize - into };
        }
    }
    return std::nullopt;
}

struct TEntry {
    uint32_t Name = 0; // an identifier, or HighBit | offset of a name string
    uint32_t Target = 0; // HighBit | offset of a subdirectory, or the offset of a data entry
};

// The resource directory inside the file: its root's place, and how far it may reach.
class TResourceDirectory
{
public:
    TResourceDirectory(const TByteSource& source, TFileRange range)
        : m_source(source)
        , m_range(range)
    {
        m_range.Size
            = std::min(m_range.Size, source.Size() - std::min(source.Size(), range.Offset));
    }

    // The entries of the directory at offset (from the root), or none when it does not lie
    // inside the resource section.
    std::optional<std::vector<TEntry>> Entries(uint32_t offset) const
    {
        std::optional<Bytes> header = Read(offset, DirectoryHeaderSize);
        if (!header)
            return std::nullopt;
        uint32_t count = uint32_t { ReadU16(header->data() + 12) } // NumberOfNamedEntries
            + ReadU16(header->data() + 14); // NumberOfIdEntries
        if (count > MaxDirectoryEntries)
            return std::nullopt;
        std::optional<Bytes> table
            = Read(uint64_t { offset } + DirectoryHeaderSize, count * DirectoryEntrySize);
        if (!table)
            return std::nullopt;
        std::vector<TEntry> entries(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* p = table->data() + i * DirectoryEntrySize;
            entries[i] = { ReadU32(p + 0), ReadU32(p + 4) };
        }
        return entries;
    }

    std::optional<Bytes> Read(uint64_t offset, uint64_t count) const
    {
        if (offset > m_range.Size || count > m_range.Size - offset)
            return std::nullopt;
        return m_source.Read(m_range.Offset + offset, count);
    }

private:
    const TByteSource& m_source;
    TFileRange m_range;
};

const TEntry* FindId(const std::vector<TEntry>& entries, uint32_t id)
{
    auto found = std::find_if(
        entries.begin(), entries.end(), [id](const TEntry& entry) { return entry.Name == id; });
    return found == entries.end() ? nullptr : &*found;
}

bool IsDirectory(const TEntry& entry)
{
    return (entry.Target & HighBit) != 0;
}

uint32_t Offset(const TEntry& entry)
{
    return entry.Target & ~HighBit;
}

// Walks type, name and language down to the data entry of the version resource and reads the
// resource.
TVersionResource ReadVersionResource(
    const TByteSource& source, const std::vector<TSection>& sections, TFileRange root)
{
    const TVersionResource damaged { Status::Damaged, {} };
    TResourceDirectory directory(source, root);

    std::optional<std::vector<TEntry>> types = directory.Entries(0);
    if (!types)
        return damaged;
    const TEntry* type = FindId(*types, VersionType);
    if (!type)
        return {};
    if (!IsDirectory(*type))
        return damaged;

    std::optional<std::vector<TEntry>> names = directory.Entries(Offset(*type));
    if (!names)
        return damaged;
    if (names->empty())
        return {};
    const TEntry* name = FindId(*names, VersionInfoId);
    if (!name)
        name = &names->front();
    if (!IsDirectory(*name))
        return damaged;

    std::optional<std::vector<TEntry>> languages = directory.Entries(Offset(*name));
    if (!languages)
        return damaged;
    if (languages->empty())
        return {};
    const TEntry& language = languages->front();
    if (IsDirectory(language))
        return damaged;

    std::optional<Bytes> dataEntry = directory.Read(Offset(language), DataEntrySize);
    if (!dataEntry)
        return damaged;
    uint32_t dataRva = ReadU32(dataEntry->data() + 0); // OffsetToData
    uint32_t dataSize = ReadU32(dataEntry->data() + 4); // Size
    if (dataSize == 0)
        return {};
    std::optional<TFileRange> data = MapAddress(sections, dataRva);
    uint32_t readSize = std::min(dataSize, MaxVersionInfoSize);
    if (!data || data->Size < readSize)
        return damaged;
    std::optional<Bytes> bytes = source.Read(data->Offset, readSize);
    if (!bytes)
        return damaged;
    return TakeVersionInfo(std::move(*bytes));
}

} // namespace

TVersionResource FindPeVersionResource(const TByteSource& source)
{
    const TVersionResource damaged { Status::Damaged, {} };
    std::optional<Bytes> dos = source.Read(0, DosHeaderSize);
    if (!dos || (*dos)[0] != 'M' || (*dos)[1] != 'Z')
        return {};
    uint32_t peOffset = ReadU32(dos->data() + NewHeaderOffsetField);
    std::optional<Bytes> fileHeader = source.Read(peOffset, FileHeaderSize);
    if (!fileHeader || ReadU32(fileHeader->data()) != 0x00004550) // "PE\0\0"
        return {}; // a DOS program, or another kind of new executable
    const uint8_t* coff = fileHeader->data() + 4;
    uint16_t sectionCount = ReadU16(coff + 2); // NumberOfSections
    uint16_t optionalSize = ReadU16(coff + 16); // SizeOfOptionalHeader

    std::optional<Bytes> optional
        = source.Read(uint64_t { peOffset } + FileHeaderSize, optionalSize);
    if (!optional || optionalSize < 2)
        return damaged;
    uint16_t magic = ReadU16(optional->data() + 0);
    uint64_t countField = 0;
    if (magic == Pe32Magic)
        countField = 92; // NumberOfRvaAndSizes of PE32
    else if (magic == Pe32PlusMagic)
        countField = 108; // NumberOfRvaAndSizes of PE32+
    else
        return damaged;
    uint64_t directoriesField = countField + 4;
    uint64_t resourceField = directoriesField + ResourceDirectoryIndex * 8;
    if (optionalSize < countField + 4)
        return damaged;
    if (ReadU32(optional->data() + countField) <= ResourceDirectoryIndex
        || optionalSize < resourceField + 8)
        return {}; // no data directory for resources
    uint32_t resourceRva = ReadU32(optional->data() + resourceField); // VirtualAddress
    if (resourceRva == 0)
        return {};

    if (sectionCount == 0 || sectionCount > MaxSections)
        return damaged;
    std::optional<Bytes> table = source.Read(
        uint64_t { peOffset } + FileHeaderSize + optionalSize, sectionCount * SectionHeaderSize);
    if (!table)
        return damaged;
    std::vector<TSection> sections(sectionCount);
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const uint8_t* p = table->data() + i * SectionHeaderSize;
        sections[i].VirtualAddress = ReadU32(p + 12); // VirtualAddress
        sections[i].RawSize = ReadU32(p + 16); // SizeOfRawData
        sections[i].RawOffset = ReadU32(p + 20); // PointerToRawData
    }
    std::optional<TFileRange> root = MapAddress(sections, resourceRva);
    if (!root || !source.Contains(root->Offset, DirectoryHeaderSize))
        return damaged;
    return ReadVersionResource(source, sections, *root);
}

} // namespace velmora

#include "programs/pe_image.h"

#include "programs/byte_source.h"

#include <algorithm>

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

} // namespace

TPeImage::TPeImage(const TByteSource& source)
{
    Read(source);
    if (m_status != TStatus::Read)
        m_sections.clear();
}

void TPeImage::Read(const TByteSource& source)
{
    std::optional<Bytes> dos = source.Read(0, DosHeaderSize);
    if (!dos || (*dos)[0] != 'M' || (*dos)[1] != 'Z')
        return;
    uint32_t peOffset = ReadU32(dos->data() + NewHeaderOffsetField);
    std::optional<Bytes> fileHeader = source.Read(peOffset, FileHeaderSize);
    if (!fileHeader || ReadU32(fileHeader->data()) != 0x00004550) // "PE\0\0"
        return; // a DOS program, or another kind of new executable
    m_status = TStatus::Damaged;
    const uint8_t* coff = fileHeader->data() + 4;
    uint16_t sectionCount = ReadU16(coff + 2); // NumberOfSections
    uint16_t optionalSize = ReadU16(coff + 16); // SizeOfOptionalHeader

    std::optional<Bytes> optional
        = source.Read(uint64_t { peOffset } + FileHeaderSize, optionalSize);
    if (!optional || optionalSize < 2)
        return;
    uint16_t magic = ReadU16(optional->data() + 0);
    uint64_t countField = 0;
    if (magic == Pe32Magic)
        countField = 92; // NumberOfRvaAndSizes of PE32
    else if (magic == Pe32PlusMagic)
        countField = 108; // NumberOfRvaAndSizes of PE32+
    else
        return;
    m_is64Bit = magic == Pe32PlusMagic;
    uint64_t directoriesField = countField + 4;
    uint64_t resourceField = directoriesField + ResourceDirectoryIndex * 8;
    if (optionalSize < countField + 4)
        return;
    if (ReadU32(optional->data() + countField) > ResourceDirectoryIndex
        && optionalSize >= resourceField + 8)
        m_resourceRva = ReadU32(optional->data() + resourceField); // VirtualAddress
    if (m_resourceRva == 0) {
        m_status = TStatus::Read; // nothing that the section table is needed for
        return;
    }

    if (sectionCount == 0 || sectionCount > MaxSections)
        return;
    std::optional<Bytes> table = source.Read(
        uint64_t { peOffset } + FileHeaderSize + optionalSize, sectionCount * SectionHeaderSize);
    if (!table)
        return;
    m_sections.resize(sectionCount);
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const uint8_t* p = table->data() + i * SectionHeaderSize;
        m_sections[i].VirtualAddress = ReadU32(p + 12); // VirtualAddress
        m_sections[i].RawSize = ReadU32(p + 16); // SizeOfRawData
        m_sections[i].RawOffset = ReadU32(p + 20); // PointerToRawData
    }
    m_status = TStatus::Read;
    m_resourceRoot = MapAddress(m_resourceRva);
    if (m_resourceRoot) {
        // Section data that the file does not hold (a truncated file) is not the section's.
        const uint64_t size = source.Size();
        m_resourceRoot->Size
            = std::min(m_resourceRoot->Size, size - std::min(size, m_resourceRoot->Offset));
    }
}

std::optional<TFileRange> TPeImage::MapAddress(uint32_t rva) const
{
    for (const TSection& section : m_sections) {
        if (rva >= section.VirtualAddress && rva - section.VirtualAddress < section.RawSize) {
            uint64_t into = rva - section.VirtualAddress;
            return TFileRange { uint64_t { section.RawOffset } + into, section.RawSize - into };
        }
    }
    return std::nullopt;
}

} // namespace velmora

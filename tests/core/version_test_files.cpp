#include "version_test_files.h"

#include <algorithm>

namespace velmora::test
{

namespace
{

void PadTo4(Bytes& out)
{
    while (out.size() % 4 != 0)
        out.push_back(0);
}

void Append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

} // namespace

Bytes Utf16(const std::string& text, bool terminated)
{
    Bytes out;
    for (size_t i = 0; i < text.size();) {
        auto byte = static_cast<uint8_t>(text[i]);
        size_t extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
        uint32_t code = extra ? byte & (0x3F >> extra) : byte;
        for (size_t k = 1; k <= extra; ++k)
            code = (code << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
        i += extra + 1;
        if (code >= 0x10000) {
            AppendU16(out, static_cast<uint16_t>(0xD800 + ((code - 0x10000) >> 10)));
            AppendU16(out, static_cast<uint16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            AppendU16(out, static_cast<uint16_t>(code));
        }
    }
    if (terminated)
        AppendU16(out, 0);
    return out;
}

Bytes TVersionBlock::Build() const
{
    Bytes block(6, 0); // wLength, wValueLength, wType: below
    Append(block, Utf16(Key));
    PadTo4(block);
    Append(block, Value);
    for (const TVersionBlock& child : Children) {
        PadTo4(block);
        Append(block, child.Build());
    }
    uint16_t valueLength
        = ValueLength.value_or(static_cast<uint16_t>(Type != 0 ? Value.size() / 2 : Value.size()));
    WriteU16(block.data() + 0, static_cast<uint16_t>(block.size())); // wLength
    WriteU16(block.data() + 2, valueLength); // wValueLength
    WriteU16(block.data() + 4, Type); // wType
    return block;
}

TVersionBlock TextBlock(const std::string& key, const std::string& value)
{
    return { key, 1, Utf16(value), std::nullopt, {} };
}

TFixedFileInfo SampleFixedFileInfo(uint32_t productMS, uint32_t productLS)
{
    return {
        0xFEEF04BD, // dwSignature
        0x00010000, // dwStrucVersion
        0x00020003, // dwFileVersionMS
        0x00040005, // dwFileVersionLS
        productMS, // dwProductVersionMS
        productLS, // dwProductVersionLS
        0x0000003F, // dwFileFlagsMask
        0x00000002, // dwFileFlags
        0x00040004, // dwFileOS
        0x00000001, // dwFileType
        0x00000007, // dwFileSubtype
        0x01D9A2B3, // dwFileDateMS
        0x4C5D6E7F, // dwFileDateLS
    };
}

Bytes FixedFileInfoBytes(const TFixedFileInfo& fixed)
{
    Bytes bytes;
    for (uint32_t value : fixed)
        AppendU32(bytes, value);
    return bytes;
}

std::vector<TVersionBlock> TVersionRecipe::SampleStrings()
{
    return {
        TextBlock("Comments", "Editor for icons"),
        TextBlock("CompanyName", "Example Company"),
        TextBlock("FileDescription", "Example description"),
        TextBlock("FileVersion", "2.3.4.5"),
        TextBlock("LicenseInfo", "Example licence"),
        TextBlock("InternalName", "example"),
        TextBlock("LegalCopyright", "Copyright (c) Example"),
        TextBlock("LegalTrademarks", "Example trademark"),
        TextBlock("OriginalFilename", "example.exe"),
        TextBlock("ProductName", "Example Product"),
        TextBlock("ProductVersion", "1.0"),
    };
}

Bytes TVersionRecipe::Build() const
{
    TVersionBlock root { "VS_VERSION_INFO", 0, FixedPart, std::nullopt, {} };
    root.Children.push_back({ "StringFileInfo", 1, {}, std::nullopt,
        { TVersionBlock { TableKey, 1, {}, std::nullopt, Strings } } });
    if (Translations) {
        Bytes pairs;
        for (auto [language, codePage] : *Translations) {
            AppendU16(pairs, language);
            AppendU16(pairs, codePage);
        }
        root.Children.push_back({ "VarFileInfo", 1, {}, std::nullopt,
            { TVersionBlock { "Translation", 0, pairs, std::nullopt, {} } } });
    }
    return root.Build();
}

TResourceSection BuildResourceSection(
    const Bytes& data, uint32_t sectionRva, const std::vector<uint32_t>& types)
{
    constexpr uint32_t highBit = 0x80000000;
    TResourceSection result;
    result.NameDirectory = 16 + 8 * static_cast<uint32_t>(types.size());
    result.LanguageDirectory = result.NameDirectory + 24;
    result.DataEntry = result.LanguageDirectory + 24;
    result.Data = result.DataEntry + 16;
    // The section is laid out in a buffer of its final size, field by field.
    Bytes& out = result.Section;
    out.assign(result.Data + data.size(), 0);
    WriteU16(out.data() + 14, static_cast<uint16_t>(types.size())); // NumberOfIdEntries
    for (size_t i = 0; i < types.size(); ++i) {
        WriteU32(out.data() + 16 + 8 * i, types[i]); // Name: the resource type
        WriteU32(out.data() + 20 + 8 * i, highBit | result.NameDirectory); // a subdirectory
    }
    auto directory = [&out](uint32_t at, uint32_t name, uint32_t target) {
        WriteU16(out.data() + at + 14, 1); // NumberOfIdEntries
        WriteU32(out.data() + at + 16, name); // Name
        WriteU32(out.data() + at + 20, target); // OffsetToData
    };
    directory(result.NameDirectory, 1, highBit | result.LanguageDirectory);
    directory(result.LanguageDirectory, 0x0409, result.DataEntry);
    WriteU32(out.data() + result.DataEntry, sectionRva + result.Data); // OffsetToData
    WriteU32(out.data() + result.DataEntry + 4, static_cast<uint32_t>(data.size())); // Size
    std::copy(data.begin(), data.end(), out.begin() + result.Data);
    return result;
}

Bytes TPeFile::Build() const
{
    constexpr uint32_t fileAlignment = 0x200;
    const auto resourceSize = static_cast<uint32_t>(Resources.size());
    const uint32_t rawSize = (resourceSize + fileAlignment - 1) & ~(fileAlignment - 1);
    // The file is laid out in a zeroed buffer of its final size; fields not set stay 0.
    Bytes out(ResourceFileOffset + rawSize, 0);
    auto put16 = [&out](uint32_t at, uint32_t value) {
        WriteU16(out.data() + at, static_cast<uint16_t>(value));
    };
    auto put32 = [&out](uint32_t at, uint32_t value) { WriteU32(out.data() + at, value); };
    put16(0, 0x5A4D); // e_magic: "MZ"
    put32(0x3C, NewHeader); // e_lfanew
    put32(NewHeader, 0x00004550); // "PE\0\0"
    put16(NewHeader + 4, Is64 ? 0x8664 : 0x014C); // Machine
    put16(NewHeader + 6, 2); // NumberOfSections
    put16(NewHeader + 20, Is64 ? 240 : 224); // SizeOfOptionalHeader
    put16(NewHeader + 22, Is64 ? 0x0022 : 0x0102); // Characteristics: executable image
    const uint32_t o = OptionalHeader();
    put16(o, Is64 ? 0x20B : 0x10B); // Magic
    put16(o + 2, 0x0E); // MajorLinkerVersion
    put32(o + 4, fileAlignment); // SizeOfCode
    put32(o + 8, rawSize); // SizeOfInitializedData
    put32(o + 16, 0x1000); // AddressOfEntryPoint
    put32(o + 20, 0x1000); // BaseOfCode
    put32(o + 24, Is64 ? 0x40000000 : ResourceRva); // ImageBase (low half) or BaseOfData
    put32(o + 28, Is64 ? 1 : 0x400000); // ImageBase (high half) or ImageBase
    put32(o + 32, 0x1000); // SectionAlignment
    put32(o + 36, fileAlignment); // FileAlignment
    put16(o + 40, 6); // MajorOperatingSystemVersion
    put16(o + 48, 6); // MajorSubsystemVersion
    put32(o + 56, ResourceRva + ((rawSize + 0xFFF) & ~0xFFFu)); // SizeOfImage
    put32(o + 60, fileAlignment); // SizeOfHeaders
    put16(o + 68, 2); // Subsystem: Windows GUI
    for (uint32_t i = 0; i < 4; ++i) // stack and heap reserve and commit
        put32(o + 72 + i * (Is64 ? 8 : 4), 0x100000);
    const uint32_t directories = o + (Is64 ? 112 : 96);
    put32(directories - 4, 16); // NumberOfRvaAndSizes
    if (resourceSize != 0) {
        put32(directories + 16, ResourceRva); // the resource directory's VirtualAddress
        put32(directories + 20, resourceSize); // and Size
    }
    auto section = [&](uint32_t at, const std::string& name, uint32_t virtualSize, uint32_t rva,
                       uint32_t size, uint32_t offset, uint32_t characteristics) {
        std::copy(name.begin(), name.end(), out.begin() + at); // Name
        put32(at + 8, virtualSize); // VirtualSize
        put32(at + 12, rva); // VirtualAddress
        put32(at + 16, size); // SizeOfRawData
        put32(at + 20, offset); // PointerToRawData
        put32(at + 36, characteristics); // Characteristics
    };
    section(SectionTable(), ".text", 1, 0x1000, fileAlignment, fileAlignment, 0x60000020);
    section(SectionTable() + 40, ".rsrc", resourceSize, ResourceRva, rawSize, ResourceFileOffset,
        0x40000040);
    out[fileAlignment] = 0xC3; // ret
    std::copy(Resources.begin(), Resources.end(), out.begin() + ResourceFileOffset);
    return out;
}

Bytes PeWithVersion(const Bytes& data, bool is64)
{
    return TPeFile { is64, BuildResourceSection(data, TPeFile::ResourceRva).Section }.Build();
}

Bytes TElfFile::Build() const
{
    Bytes names { 0 };
    const auto sectionName = static_cast<uint32_t>(names.size());
    Append(names, Bytes(SectionName.begin(), SectionName.end()));
    names.push_back(0);
    const auto namesName = static_cast<uint32_t>(names.size());
    const std::string shstrtab = ".shstrtab";
    Append(names, Bytes(shstrtab.begin(), shstrtab.end()));
    names.push_back(0);

    const uint64_t dataOffset = (HeaderSize() + 7) & ~uint64_t { 7 };
    const uint64_t namesOffset = dataOffset + SectionData.size();
    const uint64_t tableOffset = (namesOffset + names.size() + 7) & ~uint64_t { 7 };
    // The file is laid out in a buffer of its final size, field by field.
    Bytes out(tableOffset + 3 * SectionHeaderSize(), 0);
    size_t at = 0;
    auto put16 = [&](uint16_t value) {
        WriteU16(out.data() + at, value);
        at += 2;
    };
    auto put32 = [&](uint32_t value) {
        WriteU32(out.data() + at, value);
        at += 4;
    };
    auto word = [&](uint64_t value) { // an address or offset of the file's word size
        put32(static_cast<uint32_t>(value));
        if (Is64)
            put32(static_cast<uint32_t>(value >> 32));
    };
    put32(0x464C457F); // "\x7FELF"
    out[4] = Is64 ? 2 : 1; // EI_CLASS
    out[5] = 1; // EI_DATA: little-endian
    out[6] = 1; // EI_VERSION
    at = 16;
    put16(2); // e_type: ET_EXEC
    put16(Is64 ? 62 : 3); // e_machine: x86-64 or i386
    put32(1); // e_version
    word(0); // e_entry
    word(0); // e_phoff
    word(tableOffset); // e_shoff
    put32(0); // e_flags
    put16(static_cast<uint16_t>(HeaderSize())); // e_ehsize
    put16(0); // e_phentsize
    put16(0); // e_phnum
    put16(static_cast<uint16_t>(SectionHeaderSize())); // e_shentsize
    put16(3); // e_shnum
    put16(2); // e_shstrndx
    std::copy(SectionData.begin(), SectionData.end(), out.begin() + dataOffset);
    std::copy(names.begin(), names.end(), out.begin() + namesOffset);
    at = tableOffset;
    auto header
        = [&](uint32_t name, uint32_t type, uint64_t flags, uint64_t offset, uint64_t size) {
              put32(name); // sh_name
              put32(type); // sh_type
              word(flags); // sh_flags
              word(0); // sh_addr
              word(offset); // sh_offset
              word(size); // sh_size
              put32(0); // sh_link
              put32(0); // sh_info
              word(1); // sh_addralign
              word(0); // sh_entsize
          };
    header(0, 0, 0, 0, 0); // the null section
    header(sectionName, SectionType, 2, dataOffset, SectionData.size()); // SHF_ALLOC
    header(namesName, 3, 0, namesOffset, names.size()); // SHT_STRTAB
    return out;
}

uint64_t ElfSectionTable(const Bytes& file, bool is64)
{
    return is64 ? ReadU32(file.data() + 0x28) | (uint64_t { ReadU32(file.data() + 0x2C) } << 32)
                : ReadU32(file.data() + 0x20);
}

} // namespace velmora::test

#include "version_test_files.h"

#include <algorithm>
#include <initializer_list>

namespace velmora::test
{

namespace
{

void PadTo4(Bytes& out)
{
    out.resize((out.size() + 3) / 4 * 4, 0);
}

void Append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

// One field of a built file: where it lies, its width in bytes and its value.
struct TField {
    uint64_t At;
    int Width;
    uint64_t Value;
};

void PutFields(Bytes& out, std::initializer_list<TField> fields)
{
    for (const TField& field : fields)
        for (int i = 0; i < field.Width; ++i)
            out.at(field.At + static_cast<size_t>(i))
                = static_cast<uint8_t>(field.Value >> (8 * i));
}

} // namespace

Bytes Utf16(const std::string& text, bool terminated)
{
    Bytes out;
    for (char c : text) // Latin-1, one code unit a character
        AppendU16(out, static_cast<uint8_t>(c));
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
    return { 0xFEEF04BD, 0x00010000, 0x00020003, 0x00040005, productMS, productLS, 0x3F, 2,
        0x00040004, 1, 7, 0x01D9A2B3, 0x4C5D6E7F };
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
    const auto count = static_cast<uint32_t>(types.size());
    TResourceSection r { {}, 16 + 8 * count, 40 + 8 * count, 64 + 8 * count, 80 + 8 * count };
    r.Section.assign(r.Data + data.size(), 0);
    // NumberOfIdEntries of the root; the name and language directories of one entry each
    // (NumberOfIdEntries, Name, OffsetToData); the data entry's OffsetToData and Size.
    PutFields(r.Section,
        { { 14, 2, count }, { r.NameDirectory + 14, 2, 1 }, { r.NameDirectory + 16, 4, 1 },
            { r.NameDirectory + 20, 4, highBit | r.LanguageDirectory },
            { r.LanguageDirectory + 14, 2, 1 }, { r.LanguageDirectory + 16, 4, 0x0409 },
            { r.LanguageDirectory + 20, 4, r.DataEntry }, { r.DataEntry, 4, sectionRva + r.Data },
            { r.DataEntry + 4, 4, data.size() } });
    for (uint32_t i = 0; i < count; ++i) // each type leads to the name directory
        PutFields(r.Section,
            { { 16 + 8 * i, 4, types[i] }, { 20 + 8 * i, 4, highBit | r.NameDirectory } });
    std::copy(data.begin(), data.end(), r.Section.begin() + r.Data);
    return r;
}

Bytes TPeFile::Build() const
{
    // Only the fields that a reader of resources looks at.
    const auto size = static_cast<uint32_t>(Resources.size());
    Bytes out(ResourceFileOffset + size, 0);
    const uint32_t o = OptionalHeader();
    const uint32_t directories = o + (Is64 ? 112 : 96);
    const uint32_t rsrc = SectionTable() + 40;
    PutFields(out,
        { { 0, 2, 0x5A4D }, { 0x3C, 4, NewHeader }, { NewHeader, 4, 0x4550 }, // MZ, PE
            { NewHeader + 6, 2, 2 }, { NewHeader + 20, 2, Is64 ? 240u : 224u }, // sections
            { o, 2, Is64 ? 0x20Bu : 0x10Bu }, { directories - 4, 4, 16 }, // magic, directories
            { directories + 16, 4, size != 0 ? ResourceRva : 0 }, { directories + 20, 4, size },
            { rsrc - 28, 4, 0x1000 }, { rsrc - 24, 4, 0x200 }, { rsrc - 20, 4, 0x200 }, // .text
            { rsrc + 8, 4, size }, { rsrc + 12, 4, ResourceRva }, { rsrc + 16, 4, size },
            { rsrc + 20, 4, ResourceFileOffset } });
    std::copy(Resources.begin(), Resources.end(), out.begin() + ResourceFileOffset);
    return out;
}

Bytes PeWithVersion(const Bytes& data, bool is64)
{
    return TPeFile { is64, BuildResourceSection(data, TPeFile::ResourceRva).Section }.Build();
}

Bytes TElfFile::Build() const
{
    // Sections: the null one, the named one and the name table.
    Bytes names { 0 };
    for (const std::string& name : { SectionName, std::string(".shstrtab") }) {
        names.insert(names.end(), name.begin(), name.end());
        names.push_back(0);
    }
    const uint64_t dataOffset = Is64 ? 64 : 52;
    const uint64_t namesOffset = dataOffset + SectionData.size();
    const uint64_t table = (namesOffset + names.size() + 7) & ~uint64_t { 7 };
    const uint32_t entry = Is64 ? 64 : 40;
    Bytes out(table + 3 * entry, 0);
    const int word = Is64 ? 8 : 4;
    const uint64_t shoff = Is64 ? 0x28 : 0x20;
    PutFields(out,
        { { 0, 4, 0x464C457F }, { 4, 1, Is64 ? 2u : 1u }, { 5, 1, 1 }, { 6, 1, 1 }, // ident
            { shoff, word, table }, { shoff + word + 10, 2, entry }, // e_shoff, e_shentsize
            { shoff + word + 12, 2, 3 }, { shoff + word + 14, 2, 2 } }); // count, names
    // sh_name, sh_type, sh_offset and sh_size of the two sections after the null one.
    const uint64_t offsetField = Is64 ? 24 : 16;
    PutFields(out,
        { { table + entry, 4, 1 }, { table + entry + 4, 4, SectionType },
            { table + entry + offsetField, word, dataOffset },
            { table + entry + offsetField + word, word, SectionData.size() },
            { table + 2 * entry, 4, 1 + SectionName.size() + 1 }, { table + 2 * entry + 4, 4, 3 },
            { table + 2 * entry + offsetField, word, namesOffset },
            { table + 2 * entry + offsetField + word, word, names.size() } });
    std::copy(SectionData.begin(), SectionData.end(), out.begin() + dataOffset);
    std::copy(names.begin(), names.end(), out.begin() + namesOffset);
    return out;
}

uint64_t ElfSectionTable(const Bytes& file, bool is64)
{
    return ReadU32(file.data() + (is64 ? 0x28 : 0x20)); // the tests' files are small
}

} // namespace velmora::test

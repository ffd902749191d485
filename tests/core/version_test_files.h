#pragma once

// Version information built byte by byte for the tests: VS_VERSIONINFO structures, and the
// PE and ELF files that carry them.

#include "support/byte_io.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test
{

/// The UTF-16LE code units of a Latin-1 text, with a terminating zero when terminated.
Bytes Utf16(const std::string& text, bool terminated = true);

/// One block of a VS_VERSIONINFO structure; ValueLength defaults to the characters of a text,
/// the bytes of binary.
struct TVersionBlock {
    std::string Key;
    uint16_t Type = 1;
    Bytes Value {};
    std::optional<uint16_t> ValueLength {};
    std::vector<TVersionBlock> Children {};

    Bytes Build() const;
};

/// A string of a string table, whose stored length counts the terminating zero.
TVersionBlock TextBlock(const std::string& key, const std::string& value);

/// The thirteen values of the fixed file information in their stored order, each different.
using TFixedFileInfo = std::array<uint32_t, 13>;
TFixedFileInfo SampleFixedFileInfo(
    uint32_t productMS = 0x00010001, uint32_t productLS = 0x00010026);
Bytes FixedFileInfoBytes(const TFixedFileInfo& fixed);

/// A version resource; the defaults give product version 1.1.1.38, a string table "040904E4"
/// with every text of the reader and a translation table that names it.
struct TVersionRecipe {
    Bytes FixedPart = FixedFileInfoBytes(SampleFixedFileInfo());
    std::string TableKey = "040904E4";
    std::vector<TVersionBlock> Strings = SampleStrings();
    std::optional<std::vector<std::pair<uint16_t, uint16_t>>> Translations
        = std::vector<std::pair<uint16_t, uint16_t>> { { 0x0409, 0x04E4 } };

    Bytes Build() const;
    static std::vector<TVersionBlock> SampleStrings();
};

/// A PE resource section whose types each lead to one name directory (identifier 1), language
/// directory (0x0409) and data entry of data; the offsets are from the section's start.
struct TResourceSection {
    Bytes Section;
    uint32_t NameDirectory = 0;
    uint32_t LanguageDirectory = 0;
    uint32_t DataEntry = 0;
    uint32_t Data = 0;
};
TResourceSection BuildResourceSection(
    const Bytes& data, uint32_t sectionRva, const std::vector<uint32_t>& types = { 16 });

/// A PE file (PE32 or PE32+) of sections .text and .rsrc; no resources: no resource directory.
struct TPeFile {
    bool Is64 = false;
    Bytes Resources {};
    static constexpr uint32_t ResourceRva = 0x2000;
    static constexpr uint32_t NewHeader = 0x40; // e_lfanew
    static constexpr uint32_t ResourceFileOffset = 0x400;

    Bytes Build() const;
    uint32_t OptionalHeader() const { return NewHeader + 24; }
    uint32_t SectionTable() const { return OptionalHeader() + (Is64 ? 240 : 224); }
};

/// A PE file whose resource section holds the version information data.
Bytes PeWithVersion(const Bytes& data, bool is64 = false);

/// A little-endian ELF file with a section of the given name, type and data and a name table.
struct TElfFile {
    bool Is64 = true;
    std::string SectionName = ".velmora_version";
    uint32_t SectionType = 1; // SHT_PROGBITS
    Bytes SectionData {};

    Bytes Build() const;
};

/// The section table's offset (e_shoff) of a built ELF file.
uint64_t ElfSectionTable(const Bytes& file, bool is64);

} // namespace velmora::test

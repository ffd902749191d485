#include "icon_test_files.h"
#include "programs/running_program_version.h"
#include "programs/version_info_verbose.h"
#include "programs/version_query.h"
#include "programs/version_stamp.h"

#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <initializer_list>
#include <optional>

namespace velmora
{
namespace
{

using namespace velmora::test;

// Version information built byte by byte: VS_VERSIONINFO structures, and the PE and ELF files
// that carry them.

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

/// The UTF-16LE code units of a Latin-1 text, with a terminating zero when terminated.
Bytes Utf16(const std::string& text, bool terminated = true)
{
    Bytes out;
    for (char c : text)
        AppendU16(out, static_cast<uint8_t>(c));
    if (terminated)
        AppendU16(out, 0);
    return out;
}

/// One block of a VS_VERSIONINFO structure; ValueLength defaults to the characters of a text,
/// the bytes of binary.
struct TVersionBlock {
    std::string Key;
    uint16_t Type = 1;
    Bytes Value {};
    std::optional<uint16_t> ValueLength {};
    std::vector<TVersionBlock> Children {};

    Bytes Build() const
    {
        Bytes block(6, 0); // wLength, wValueLength, wType: below
        const Bytes key = Utf16(Key);
        block.insert(block.end(), key.begin(), key.end());
        auto append = [&](const Bytes& more) { // after padding to 4 bytes
            block.resize((block.size() + 3) / 4 * 4, 0);
            block.insert(block.end(), more.begin(), more.end());
        };
        append(Value);
        for (const TVersionBlock& child : Children)
            append(child.Build());
        const auto length = static_cast<uint16_t>(Type != 0 ? Value.size() / 2 : Value.size());
        PutFields(block,
            { { 0, 2, block.size() }, { 2, 2, ValueLength.value_or(length) }, { 4, 2, Type } });
        return block;
    }
};

/// A string of a string table, whose stored length counts the terminating zero.
TVersionBlock TextBlock(const std::string& key, const std::string& value)
{
    return { key, 1, Utf16(value), std::nullopt, {} };
}

/// The thirteen values of the fixed file information in their stored order, each different.
using TFixedFileInfo = std::array<uint32_t, 13>;
TFixedFileInfo SampleFixedFileInfo(uint32_t productMS = 0x00010001, uint32_t productLS = 0x00010026)
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

/// A version resource; the defaults give product version 1.1.1.38, a string table "040904E4"
/// with every text of the reader and a translation table that names it.
struct TVersionRecipe {
    Bytes FixedPart = FixedFileInfoBytes(SampleFixedFileInfo());
    std::string TableKey = "040904E4";
    std::vector<TVersionBlock> Strings = SampleStrings();
    std::optional<std::vector<std::pair<uint16_t, uint16_t>>> Translations
        = std::vector<std::pair<uint16_t, uint16_t>> { { 0x0409, 0x04E4 } };

    static std::vector<TVersionBlock> SampleStrings()
    {
        return { TextBlock("Comments", "Editor for icons"),
            TextBlock("CompanyName", "Example Company"),
            TextBlock("FileDescription", "Example description"),
            TextBlock("FileVersion", "2.3.4.5"), TextBlock("LicenseInfo", "Example licence"),
            TextBlock("InternalName", "example"),
            TextBlock("LegalCopyright", "Copyright (c) Example"),
            TextBlock("LegalTrademarks", "Example trademark"),
            TextBlock("OriginalFilename", "example.exe"),
            TextBlock("ProductName", "Example Product"), TextBlock("ProductVersion", "1.0") };
    }

    Bytes Build() const
    {
        TVersionBlock root { "VS_VERSION_INFO", 0, FixedPart, std::nullopt,
            { { "StringFileInfo", 1, {}, std::nullopt,
                { { TableKey, 1, {}, std::nullopt, Strings } } } } };
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
    const Bytes& data, uint32_t sectionRva, const std::vector<uint32_t>& types = { 16 })
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

/// A PE file (PE32 or PE32+) of sections .text and .rsrc; no resources: no resource directory.
struct TPeFile {
    bool Is64 = false;
    Bytes Resources {};
    static constexpr uint32_t ResourceRva = 0x2000;
    static constexpr uint32_t NewHeader = 0x40; // e_lfanew
    static constexpr uint32_t ResourceFileOffset = 0x400;

    uint32_t OptionalHeader() const { return NewHeader + 24; }
    uint32_t SectionTable() const { return OptionalHeader() + (Is64 ? 240 : 224); }

    Bytes Build() const
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
};

Bytes PeWithVersion(const Bytes& data, bool is64 = false)
{
    return TPeFile { is64, BuildResourceSection(data, TPeFile::ResourceRva).Section }.Build();
}

/// A little-endian ELF file with a section of the given name and data, and a name table.
Bytes ElfWithVersion(
    const Bytes& data, bool is64, const std::string& sectionName = ".velmora_version")
{
    // Sections: the null one, the named one and the name table.
    Bytes names { 0 };
    for (const std::string& name : { sectionName, std::string(".shstrtab") }) {
        names.insert(names.end(), name.begin(), name.end());
        names.push_back(0);
    }
    const uint64_t dataOffset = is64 ? 64 : 52;
    const uint64_t namesOffset = dataOffset + data.size();
    const uint64_t table = (namesOffset + names.size() + 7) & ~uint64_t { 7 };
    const uint32_t entry = is64 ? 64 : 40;
    Bytes out(table + 3 * entry, 0);
    const int word = is64 ? 8 : 4;
    const uint64_t shoff = is64 ? 0x28 : 0x20;
    PutFields(out,
        { { 0, 4, 0x464C457F }, { 4, 1, is64 ? 2u : 1u }, { 5, 1, 1 }, { 6, 1, 1 }, // ident
            { shoff, word, table }, { shoff + word + 10, 2, entry }, // e_shoff, e_shentsize
            { shoff + word + 12, 2, 3 }, { shoff + word + 14, 2, 2 } }); // count, names
    // sh_name, sh_type, sh_offset and sh_size of the two sections after the null one.
    const uint64_t offsetField = is64 ? 24 : 16;
    PutFields(out,
        { { table + entry, 4, 1 }, { table + entry + 4, 4, 1 },
            { table + entry + offsetField, word, dataOffset },
            { table + entry + offsetField + word, word, data.size() },
            { table + 2 * entry, 4, 1 + sectionName.size() + 1 }, { table + 2 * entry + 4, 4, 3 },
            { table + 2 * entry + offsetField, word, namesOffset },
            { table + 2 * entry + offsetField + word, word, names.size() } });
    std::copy(data.begin(), data.end(), out.begin() + dataOffset);
    std::copy(names.begin(), names.end(), out.begin() + namesOffset);
    return out;
}

constexpr int Ok = TVersionInfo::ResultOk;
constexpr int NoInfo = TVersionInfo::ResultNoVersionInfo;
constexpr int NotFetched = TVersionInfo::ResultNotFetched;

// The eleven texts in the order of the sample's string table.
std::vector<std::string> Texts(const TVersionInfo& i)
{
    return { i.Comments(), i.CompanyName(), i.FileDescription(), i.FileVersion(), i.LicenseInfo(),
        i.InternalName(), i.LegalCopyright(), i.LegalTrademarks(), i.OriginalFilename(),
        i.ProductName(), i.ProductVersion() };
}

// The thirteen values of the fixed part in their stored order.
TFixedFileInfo Fixed(const TVersionInfo& i)
{
    return { i.Signature(), i.StrucVersion(), i.FileVersionMS(), i.FileVersionLS(),
        i.ProductVersionMS(), i.ProductVersionLS(), i.FileFlagsMask(), i.FileFlags(), i.FileOS(),
        i.FileType(), i.FileSubType(), i.FileDateMS(), i.FileDateLS() };
}

TEST(VersionInfo, ReadsEveryFieldFromPeAndElfFiles)
{
    const Bytes info = TVersionRecipe().Build();
    const Bytes files[] = { PeWithVersion(info, false), PeWithVersion(info, true),
        TPeFile {
            false, BuildResourceSection(info, TPeFile::ResourceRva, { 3, 14, 16, 24 }).Section }
            .Build(),
        ElfWithVersion(info, true), ElfWithVersion(info, false) };
    std::vector<std::string> texts; // the sample's texts, all ASCII
    for (const TVersionBlock& block : TVersionRecipe::SampleStrings()) {
        texts.emplace_back();
        for (size_t k = 0; k + 2 < block.Value.size(); k += 2)
            texts.back() += static_cast<char>(block.Value[k]);
    }
    for (size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(i);
        TTempDir dir;
        WriteFile(dir.Path("file.exe"), files[i]);
        TVersionInfoVerbose version;
        ASSERT_EQ(version.LoadFromFile(dir.Path("file.exe").string()), Ok);
        EXPECT_EQ(version.FileName(), dir.Path("file.exe").string());
        EXPECT_EQ(Texts(version), texts);
        EXPECT_EQ(version.LanguageName(), "English (United States)");
        EXPECT_EQ(Fixed(version), SampleFixedFileInfo());
        EXPECT_EQ(std::tuple(version.ProductMajor(), version.ProductMinor(),
                      version.ProductRelease(), version.ProductBuild()),
            std::tuple(1, 1, 1, 38));
    }
}

TEST(VersionInfo, StringTableAndTranslations)
{
    using TPairs = std::vector<std::pair<uint16_t, uint16_t>>;
    auto recipe = [](auto change) {
        TVersionRecipe r;
        change(r);
        return r;
    };
    auto table = [&](const std::string& key, const std::optional<TPairs>& translations) {
        return recipe([&](TVersionRecipe& r) {
            r.TableKey = key;
            r.Translations = translations;
        });
    };
    auto named = [&](TVersionBlock block) {
        return recipe([block](TVersionRecipe& r) { r.Strings = { block }; });
    };
    const struct {
        TVersionRecipe recipe;
        std::string productName;
        std::string languageName = "English (United States)";
        int result = Ok;
    } rows[] = {
        // No translations: the German table of code page 1252; else the first of two.
        { table("040704E4", std::nullopt), "Example Product", "DEFAULT: German (Germany)" },
        { table("041104b0", TPairs { { 0x0411, 0x04B0 }, { 0x0409, 0x04E4 } }), "Example Product",
            "Japanese (Japan)" },
        { named(TextBlock("PRODUCTNAME", "Upper Case")), "Upper Case" },
        // A length without the terminating zero keeps the last character; a length past the
        // block stops at the block's end.
        { named({ "ProductName", 1, Utf16("Whole Name"), 10, {} }), "Whole Name" },
        { named({ "ProductName", 1, Utf16("Cut", false), 900, {} }), "Cut" },
        { named({ "ProductName", 1,
              Bytes { 'C', 0, 0xE9, 0, ' ', 0, 0x3D, 0xD8, 0x00, 0xDE, 0, 0 } }),
            "C\u00e9 \U0001F600" },
        { named({ "ProductName", 1, Bytes { 'A', 0, 0x00, 0xD8, 'B', 0, 0, 0 }, std::nullopt, {} }),
            "A\uFFFDB" },
        { recipe([](TVersionRecipe& r) { r.FixedPart.clear(); }), "Example Product",
            "English (United States)", TVersionInfo::ResultNoFixedPart },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.productName);
        TVersionInfoVerbose version;
        EXPECT_EQ(version.LoadFromBytes(PeWithVersion(row.recipe.Build())), row.result);
        EXPECT_EQ(version.ProductName(), row.productName);
        EXPECT_EQ(version.LanguageName(), row.languageName);
        EXPECT_EQ(version.Signature(), row.result == Ok ? FixedFileInfoSignature : 0u);
    }
}

TEST(VersionInfo, RefusesFilesWithoutOrWithDamagedVersionInformation)
{
    constexpr uint32_t highBit = 0x80000000;
    const Bytes info = TVersionRecipe().Build();
    const TResourceSection res = BuildResourceSection(info, TPeFile::ResourceRva);
    const TPeFile pe { false, res.Section };
    const Bytes good = pe.Build();
    const uint32_t rsrc = TPeFile::ResourceFileOffset;
    Bytes bigEndian = ElfWithVersion(info, true);
    bigEndian[5] = 2; // ELFDATA2MSB
    const Bytes elf = ElfWithVersion(info, true);
    const uint32_t table = ReadU32(elf.data() + 0x28);
    const struct {
        int result;
        Bytes file;
    } rows[] = {
        { NoInfo, TPeFile().Build() }, // no resources
        { NoInfo,
            TPeFile {
                false, BuildResourceSection(Bytes(40, 1), TPeFile::ResourceRva, { 3, 14 }).Section }
                .Build() },
        { NoInfo, PeWithVersion({}) }, { NoInfo, Bytes { 'M', 'Z', 0, 0 } },
        { NoInfo, ElfWithVersion(info, true, ".rodata") }, { NoInfo, bigEndian },
        { NoInfo, Bytes {} },
        { NotFetched, With(good, rsrc + 20, highBit | 0) }, // type entry leads back to the root
        { NotFetched, With(good, rsrc + res.NameDirectory + 20, highBit | res.NameDirectory) },
        { NotFetched, With(good, rsrc + res.LanguageDirectory + 20, highBit | res.NameDirectory) },
        { NotFetched, With(With(good, rsrc + 12, 0xFFFF, 2), rsrc + 14, 0xFFFF, 2) },
        { NotFetched, With(good, rsrc + 20, highBit | 0x7FFFFFF0) },
        { NotFetched, With(good, rsrc + res.DataEntry + 4, 0xFFFFFFFF) }, // data of 4 GiB
        { NotFetched, With(good, TPeFile::NewHeader + 6, 0, 2) }, // no sections
        { NotFetched, With(good, pe.OptionalHeader() + 96 + 16, 0x00F00000) }, // outside sections
        { NotFetched, With(good, pe.OptionalHeader(), 0x107, 2) }, // unknown optional header
        { NotFetched, With(good, rsrc + res.Data, static_cast<uint32_t>(info.size() + 4), 2) },
        // The StringFileInfo block (at 92) past its parent, and its key cut after "Strin".
        { NotFetched, With(good, rsrc + res.Data + 92, static_cast<uint32_t>(info.size()), 2) },
        { NotFetched, With(good, rsrc + res.Data + 92, 6 + 10, 2) },
        { NotFetched, With(elf, 0x28, 0x7FFFFFF0) }, // section table past the end
        { NotFetched, With(elf, 0x3E, 3, 2) }, // name table index past the sections
        { NotFetched, With(elf, 0x3C, 0xFFFF, 2) },
        { NotFetched, With(elf, table + 2 * 64 + 24, 0x7FFFFFF0) }, // name table past the end
        { NotFetched, With(With(elf, table + 64 + 24, 0xFFFFFFF0), table + 64 + 28, 0xFFFFFFFF) },
        { NotFetched, With(elf, table + 64 + 32, 20) }, // version section shorter than its root
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        TVersionInfoVerbose version;
        EXPECT_EQ(version.LoadFromBytes(rows[i].file), rows[i].result) << i;
        EXPECT_EQ(Texts(version), std::vector<std::string>(11)) << i;
        EXPECT_EQ(Fixed(version), TFixedFileInfo {}) << i;
        EXPECT_EQ(version.LanguageName(), "") << i;
    }
    for (const Bytes& file : { PeWithVersion(info, true), ElfWithVersion(info, false) })
        for (size_t size = 0; size < file.size(); ++size) {
            TVersionInfoVerbose version;
            int result = version.LoadFromBytes(ByteSpan(file).first(size));
            ASSERT_TRUE(result == Ok || result == NoInfo || result == NotFetched) << size;
        }
    TTempDir dir;
    TVersionInfoVerbose version;
    EXPECT_EQ(version.LoadFromFile(dir.Path("missing.exe").string()), NoInfo);
    EXPECT_EQ(version.LoadFromFile(dir.Root().string()), NoInfo); // a folder is no file
    EXPECT_EQ(version.LoadFromFile(""), TVersionInfo::ResultNoFileName);
}

TEST(VersionInfo, ReadsTheVersionThatTheBuildEmbeds)
{
    TVersionInfoVerbose cli, self;
    ASSERT_EQ(cli.LoadFromFile(VELMORA_CLI_PATH), Ok);
    ASSERT_EQ(LoadRunningProgramVersion(self), Ok);
    EXPECT_EQ(self.FileName(), RunningProgramFileName());
    EXPECT_TRUE(std::filesystem::path(self.FileName()).is_absolute());
    for (const TVersionInfoVerbose* version : { &cli, &self }) {
        EXPECT_EQ(version->ProductName(), "velmora icon manager");
        EXPECT_EQ(version->ProductVersion(), VELMORA_VERSION_TEXT_FOR_TESTS);
        EXPECT_EQ(version->FileVersionMS(), version->ProductVersionMS());
        EXPECT_EQ(version->LanguageName(), "English (United States)");
    }
}

TEST(FuzzSeeds, VersionInfo)
{
    const char* root = std::getenv("VELMORA_FUZZ_SEED_DIR");
    if (!root)
        GTEST_SKIP() << "VELMORA_FUZZ_SEED_DIR not set";
    std::filesystem::path dir = std::filesystem::path(root) / "fuzz_version_info";
    std::filesystem::create_directories(dir);
    const Bytes info = TVersionRecipe().Build();
    TVersionRecipe noTranslation;
    noTranslation.Translations.reset();
    noTranslation.TableKey = "040704E4";
    WriteFile(dir / "pe32.exe", PeWithVersion(info, false));
    WriteFile(dir / "pe64.dll", PeWithVersion(noTranslation.Build(), true));
    WriteFile(dir / "elf64", ElfWithVersion(info, true));
    WriteFile(dir / "elf32", ElfWithVersion(noTranslation.Build(), false));
    WriteFile(dir / "structure.bin", info);
}

TVersionStamp StampOfFile(const Bytes& bytes)
{
    TTempDir dir;
    WriteFile(dir.Path("program.exe"), bytes);
    return TVersionStamp::FromFile(dir.Path("program.exe").string());
}

TEST(VersionStamp, TakesTheProductVersionAndItsTexts)
{
    // Product version 1.1.1.38, while the string table says "1.0".
    TVersionRecipe recipe;
    const TVersionStamp stamp = StampOfFile(PeWithVersion(recipe.Build()));
    EXPECT_EQ(stamp.WindowTitle(), "Example Product 1.1 - Editor for icons");
    EXPECT_EQ(stamp.VersionBlock(),
        "Version\t  1.0\tCopyright (c) Example\r\nRelease\t  1\r\nBuild\t  38\tEditor for icons");
    EXPECT_EQ(stamp.MailLink("icons@example.com"),
        "mailto:icons@example.com?subject=Example%20Product%201.0.1.38");

    // The largest numbers stay positive.
    recipe.FixedPart = FixedFileInfoBytes(SampleFixedFileInfo(0xFFFFFFFF, 0xFFFFFFFF));
    recipe.Strings[9] = TextBlock("ProductName", "P");
    const TVersionStamp large = StampOfFile(PeWithVersion(recipe.Build()));
    EXPECT_EQ(large.WindowTitle(), "P 65535.65535 - Editor for icons");
    EXPECT_EQ(large.MailLink("m@example.com"), "mailto:m@example.com?subject=P%201.0.65535.65535");

    // Without a whole record (no fixed part, no file) the stamp stays empty.
    recipe.FixedPart.clear();
    EXPECT_EQ(StampOfFile(PeWithVersion(recipe.Build())), TVersionStamp {});
    EXPECT_EQ(TVersionStamp::FromFile("/no/such/program.exe"), TVersionStamp {});
    EXPECT_EQ(TVersionStamp {}.MailLink("m@example.com"), "mailto:m@example.com?subject=%20.0.0");
}

} // namespace
} // namespace velmora

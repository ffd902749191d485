#include "icon_test_files.h"
#include "version/language_names.h"
#include "version/running_program_version.h"
#include "version/version_info_verbose.h"
#include "version/version_query.h"
#include "version_test_files.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

constexpr int Ok = TVersionInfo::ResultOk;
constexpr int NoInfo = TVersionInfo::ResultNoVersionInfo;
constexpr int NotFetched = TVersionInfo::ResultNotFetched;
constexpr int NoFixedPart = TVersionInfo::ResultNoFixedPart;

// Writes the bytes as a file and reads its version information.
int LoadFile(TVersionInfoVerbose& info, const Bytes& bytes, const std::string& name = "file.exe")
{
    TTempDir dir;
    WriteFile(dir.Path(name), bytes);
    int result = info.LoadFromFile(dir.Path(name).string());
    EXPECT_EQ(info.FileName(), dir.Path(name).string());
    return result;
}

Bytes ElfWithVersion(const Bytes& data, bool is64)
{
    TElfFile elf;
    elf.Is64 = is64;
    elf.SectionData = data;
    return elf.Build();
}

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

void ExpectEmpty(const TVersionInfo& info)
{
    EXPECT_EQ(Texts(info), std::vector<std::string>(11));
    EXPECT_EQ(Fixed(info), TFixedFileInfo {});
    EXPECT_EQ(info.LanguageName(), "");
    EXPECT_EQ(info.Language() | info.CodePage(), 0);
}

TEST(VersionInfo, ReadsEveryFieldFromPeAndElfFiles)
{
    const Bytes info = TVersionRecipe().Build();
    const struct {
        const char* name;
        Bytes file;
    } rows[] = {
        { "PE32", PeWithVersion(info, false) },
        { "PE32+", PeWithVersion(info, true) },
        { "PE32 with icon, group icon and version resources",
            TPeFile {
                false, BuildResourceSection(info, TPeFile::ResourceRva, { 3, 14, 16, 24 }).Section }
                .Build() },
        { "ELF64", ElfWithVersion(info, true) },
        { "ELF32", ElfWithVersion(info, false) },
    };
    const std::vector<std::string> texts { "Editor for icons", "Example Company",
        "Example description", "2.3.4.5", "Example licence", "example", "Copyright (c) Example",
        "Example trademark", "example.exe", "Example Product", "1.0" };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TVersionInfoVerbose version;
        ASSERT_EQ(LoadFile(version, row.file), Ok);
        EXPECT_EQ(Texts(version), texts);
        EXPECT_EQ(version.Language(), 0x0409);
        EXPECT_EQ(version.CodePage(), 1252);
        EXPECT_EQ(version.LanguageName(), "English (United States)");
        EXPECT_EQ(Fixed(version), SampleFixedFileInfo());
        // Product version 1.1.1.38.
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
    auto withProductName
        = [](TVersionBlock block) { return [block](TVersionRecipe& r) { r.Strings = { block }; }; };
    const struct {
        const char* name;
        TVersionRecipe recipe;
        std::string productName;
        int result = Ok;
        uint16_t language = 0x0409;
        uint16_t codePage = 1252;
        std::string languageName = "English (United States)";
    } rows[] = {
        { "no translation table: the German table of code page 1252", recipe([](TVersionRecipe& r) {
             r.Translations.reset();
             r.TableKey = "040704E4";
         }),
            "Example Product", Ok, 0x0407, 1252, "DEFAULT: German (Germany)" },
        { "no translation table and no German table: empty texts",
            recipe([](TVersionRecipe& r) { r.Translations.reset(); }), "", Ok, 0x0407, 1252,
            "DEFAULT: German (Germany)" },
        { "the first of two translations is read", recipe([](TVersionRecipe& r) {
             r.Translations = TPairs { { 0x0407, 0x04B0 }, { 0x0409, 0x04E4 } };
             r.TableKey = "040704b0";
         }),
            "Example Product", Ok, 0x0407, 0x04B0, "German (Germany)" },
        { "a translation without its table: empty texts", recipe([](TVersionRecipe& r) {
             r.Translations = TPairs { { 0x0411, 0x03A4 } };
         }),
            "", Ok, 0x0411, 0x03A4, "Japanese (Japan)" },
        { "keys in another case", recipe(withProductName(TextBlock("PRODUCTNAME", "Upper Case"))),
            "Upper Case" },
        { "an empty value that counts its terminating zero",
            recipe(withProductName(TextBlock("ProductName", ""))), "" },
        { "a length without the terminating zero keeps the last character",
            recipe(withProductName({ "ProductName", 1, Utf16("Whole Name"), 10, {} })),
            "Whole Name" },
        { "a length past its block stops at the block's end",
            recipe(withProductName({ "ProductName", 1, Utf16("Cut", false), 900, {} })), "Cut" },
        { "text beyond the basic plane and with accents becomes UTF-8",
            recipe(withProductName(TextBlock("ProductName", "Caf\u00e9 \U0001F600 \u00a9"))),
            "Caf\u00e9 \U0001F600 \u00a9" },
        { "an unpaired surrogate becomes U+FFFD",
            recipe(withProductName({ "ProductName", 1, Bytes { 'A', 0, 0x00, 0xD8, 'B', 0, 0, 0 },
                std::nullopt, {} })),
            "A\uFFFDB" },
        { "no fixed part: the texts are read all the same",
            recipe([](TVersionRecipe& r) { r.FixedPart.clear(); }), "Example Product",
            NoFixedPart },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TVersionInfoVerbose version;
        EXPECT_EQ(version.LoadFromBytes(PeWithVersion(row.recipe.Build())), row.result);
        EXPECT_EQ(version.ProductName(), row.productName);
        EXPECT_EQ(version.Language(), row.language);
        EXPECT_EQ(version.CodePage(), row.codePage);
        EXPECT_EQ(version.LanguageName(), row.languageName);
        EXPECT_EQ(version.ProductVersionLS(), row.result == Ok ? 0x00010026u : 0u);
        EXPECT_EQ(version.Signature(), row.result == Ok ? 0xFEEF04BDu : 0u);
    }
}

TEST(VersionInfo, FilesWithoutVersionInformation)
{
    TElfFile otherSection;
    otherSection.SectionName = ".rodata";
    otherSection.SectionData = TVersionRecipe().Build();
    TElfFile noBits;
    noBits.SectionType = 8; // SHT_NOBITS
    TElfFile bigEndian;
    Bytes bigEndianFile = bigEndian.Build();
    bigEndianFile[5] = 2; // ELFDATA2MSB
    Bytes dosProgram(200, 0);
    dosProgram[0] = 'M';
    dosProgram[1] = 'Z';
    const struct {
        const char* name;
        Bytes file;
    } rows[] = {
        { "PE without resources", TPeFile().Build() },
        { "PE with only icon resources",
            TPeFile {
                false, BuildResourceSection(Bytes(40, 1), TPeFile::ResourceRva, { 3, 14 }).Section }
                .Build() },
        { "PE whose version resource is empty", PeWithVersion({}) },
        { "DOS program", dosProgram },
        { "ELF without the version section", otherSection.Build() },
        { "ELF whose version section holds no bytes", noBits.Build() },
        { "big-endian ELF", bigEndianFile },
        { "empty file", Bytes {} },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TVersionInfoVerbose version;
        EXPECT_EQ(LoadFile(version, row.file), NoInfo);
        ExpectEmpty(version);
    }

    TTempDir dir;
    TVersionInfoVerbose version;
    EXPECT_EQ(version.LoadFromFile(dir.Path("missing.exe").string()), NoInfo);
    EXPECT_EQ(version.LoadFromFile(dir.Root().string()), NoInfo); // a folder is no file
    EXPECT_EQ(version.FileName(), dir.Root().string());
    EXPECT_EQ(version.LoadFromFile(""), TVersionInfo::ResultNoFileName);
    EXPECT_EQ(version.FileName(), "");
}

TEST(VersionInfo, DamagedPeFilesGiveACode)
{
    constexpr uint32_t highBit = 0x80000000;
    const Bytes info = TVersionRecipe().Build();
    const TResourceSection resources = BuildResourceSection(info, TPeFile::ResourceRva);
    const TPeFile pe { false, resources.Section };
    const Bytes good = pe.Build();
    const uint32_t rsrc = TPeFile::ResourceFileOffset;
    const uint32_t sectionCount = TPeFile::NewHeader + 6;
    const struct {
        const char* name;
        Bytes file;
    } rows[] = {
        // the sample's StringFileInfo block starts at 92
        { "type entry leads back to the root", With(good, rsrc + 20, highBit | 0) },
        { "name directory leads to itself",
            With(good, rsrc + resources.NameDirectory + 20, highBit | resources.NameDirectory) },
        { "language entry is a directory",
            With(
                good, rsrc + resources.LanguageDirectory + 20, highBit | resources.NameDirectory) },
        { "root claims 65535 named and 65535 identified entries",
            With(With(good, rsrc + 12, 0xFFFF, 2), rsrc + 14, 0xFFFF, 2) },
        { "subdirectory past the end", With(good, rsrc + 20, highBit | 0x7FFFFFF0) },
        { "data of 4 GiB", With(good, rsrc + resources.DataEntry + 4, 0xFFFFFFFF) },
        { "no sections", With(good, sectionCount, 0, 2) },
        { "resources outside every section",
            With(good, pe.OptionalHeader() + 96 + 16, 0x00F00000) },
        { "unknown optional header", With(good, pe.OptionalHeader(), 0x107, 2) },
        { "version structure longer than its resource",
            With(good, rsrc + resources.Data, static_cast<uint32_t>(info.size() + 4), 2) },
        { "child block past its parent",
            With(good, rsrc + resources.Data + 92, static_cast<uint32_t>(info.size()), 2) },
        { "key without its terminating zero in its block",
            With(good, rsrc + resources.Data + 92, 6 + 10, 2) }, // ends after "Strin"
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TVersionInfoVerbose version;
        EXPECT_EQ(LoadFile(version, row.file), NotFetched);
        ExpectEmpty(version);
    }
}

TEST(VersionInfo, DamagedElfFilesGiveACode)
{
    for (bool is64 : { true, false }) {
        SCOPED_TRACE(is64 ? "ELF64" : "ELF32");
        const Bytes good = ElfWithVersion(TVersionRecipe().Build(), is64);
        const uint32_t table = static_cast<uint32_t>(ElfSectionTable(good, is64));
        const uint32_t entry = is64 ? 64 : 40; // e_shentsize
        const uint32_t shoff = is64 ? 0x28 : 0x20;
        const uint32_t shnum = is64 ? 0x3C : 0x30;
        const uint32_t shstrndx = is64 ? 0x3E : 0x32;
        const uint32_t offsetField = is64 ? 24 : 16; // sh_offset
        const uint32_t sizeField = is64 ? 32 : 20; // sh_size
        Bytes hugeOffset = With(good, table + entry + offsetField, 0xFFFFFFF0);
        if (is64)
            hugeOffset = With(hugeOffset, table + entry + offsetField + 4, 0xFFFFFFFF);
        const struct {
            const char* name;
            Bytes file;
        } rows[] = {
            { "section table past the end", With(good, shoff, 0x7FFFFFF0) },
            { "name table index past the sections", With(good, shstrndx, 3, 2) },
            { "65535 sections", With(good, shnum, 0xFFFF, 2) },
            { "name table past the end", With(good, table + 2 * entry + offsetField, 0x7FFFFFF0) },
            { "version section offset wraps around", hugeOffset },
            { "version structure damaged",
                With(good, table + entry + sizeField, 20) }, // shorter than its root says
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            TVersionInfoVerbose version;
            EXPECT_EQ(version.LoadFromBytes(row.file), NotFetched);
            ExpectEmpty(version);
        }
        TVersionInfoVerbose version;
        EXPECT_EQ(version.LoadFromBytes(good), Ok);
    }
}

TEST(VersionInfo, EveryTruncationGivesACode)
{
    const Bytes info = TVersionRecipe().Build();
    for (const Bytes& file :
        { PeWithVersion(info, false), PeWithVersion(info, true), ElfWithVersion(info, true) }) {
        for (size_t size = 0; size < file.size(); ++size) {
            TVersionInfoVerbose version;
            int result = version.LoadFromBytes(ByteSpan(file).first(size));
            // Cut in the padding after the last section the file is still whole.
            if (result != Ok) {
                ASSERT_TRUE(result == NoInfo || result == NotFetched) << size << ": " << result;
            }
        }
    }
}

// A reader whose string table fails, as an error of a platform call would.
class TFailingReader : public TVersionInfoVerbose
{
protected:
    void ReadStringTable(ByteSpan, uint16_t, uint16_t) override { throw Exception("failed"); }
};

TEST(VersionInfo, FailureWithTheDefaultTranslation)
{
    TVersionRecipe noTranslation;
    noTranslation.Translations.reset();
    TFailingReader reader;
    EXPECT_EQ(reader.LoadFromBytes(PeWithVersion(noTranslation.Build())),
        TVersionInfo::ResultDefaultTableFailed);
    for (const std::string* text :
        { &reader.CompanyName(), &reader.FileDescription(), &reader.FileVersion(),
            &reader.InternalName(), &reader.LegalCopyright(), &reader.OriginalFilename(),
            &reader.ProductName(), &reader.ProductVersion(), &reader.LanguageName() })
        EXPECT_EQ(*text, "???");
    EXPECT_EQ(reader.Comments(), "");
    EXPECT_EQ(reader.ProductBuild(), 38); // the fixed part was read before

    // With a translation table the error reaches the caller.
    EXPECT_EQ(
        ErrorOf([&] { reader.LoadFromBytes(PeWithVersion(TVersionRecipe().Build())); }), "failed");
}

TEST(VersionInfo, ReadsTheVersionThatTheBuildEmbeds)
{
    TVersionInfoVerbose cli;
    ASSERT_EQ(cli.LoadFromFile(VELMORA_CLI_PATH), Ok);
    TVersionInfoVerbose self;
    ASSERT_EQ(LoadRunningProgramVersion(self), Ok);
    EXPECT_EQ(self.FileName(), RunningProgramFileName());
    EXPECT_TRUE(std::filesystem::path(self.FileName()).is_absolute());
    for (const TVersionInfo* version :
        { static_cast<TVersionInfo*>(&cli), static_cast<TVersionInfo*>(&self) }) {
        EXPECT_EQ(version->ProductName(), "velmora icon manager");
        EXPECT_EQ(version->CompanyName(), "velmora developers");
        EXPECT_EQ(version->ProductVersion(), VELMORA_VERSION_TEXT_FOR_TESTS);
        EXPECT_EQ(version->Signature(), FixedFileInfoSignature);
        EXPECT_EQ(version->FileVersionMS(), version->ProductVersionMS());
        EXPECT_EQ(std::tuple(version->ProductMajor(), version->ProductMinor(),
                      version->ProductRelease(), version->ProductBuild()),
            std::tuple(0, 1, 0, 0));
        EXPECT_EQ(version->LanguageName(), "English (United States)");
    }
}

TEST(VerQueryValue, FindsBlocksAsThePlatformDoes)
{
    const Bytes info = TVersionRecipe().Build();
    const struct {
        const char* subBlock;
        bool found;
        std::string text; // of a text value
        size_t binarySize;
    } rows[] = {
        { "\\", true, "", FixedFileInfoSize },
        { "\\StringFileInfo\\040904E4\\ProductName", true, "Example Product", 32 },
        { "\\\\stringfileinfo\\040904e4\\PRODUCTNAME\\", true, "Example Product", 32 },
        { "\\StringFileInfo\\040904E4\\Product", false, "", 0 },
        { "\\StringFileInfo\\040904E4\\ProductName\\More", false, "", 0 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.subBlock);
        std::optional<TVersionValue> value = VerQueryValue(info, row.subBlock);
        ASSERT_EQ(value.has_value(), row.found);
        if (!value)
            continue;
        EXPECT_EQ(value->Binary().size(), row.binarySize);
        if (value->Type == 1) {
            EXPECT_EQ(value->Text(), row.text);
        }
    }
    EXPECT_FALSE(VerQueryValue({}, "\\"));
    EXPECT_FALSE(VerQueryValue(ByteSpan(info).first(5), "\\"));
    EXPECT_EQ(CheckVersionInfo(info), info.size());
    Bytes padded = info;
    padded.resize(info.size() + 64, 0);
    EXPECT_EQ(CheckVersionInfo(padded), info.size());
}

TEST(VerLanguageName, NamesLanguages)
{
    const struct {
        uint16_t language;
        const char* name;
    } rows[] = {
        { 0x0409, "English (United States)" },
        { 0x0407, "German (Germany)" },
        { 0x0411, "Japanese (Japan)" },
        { 0x0000, "Language Neutral" },
        { 0x0007, "German" },
        { 0x00FF, "Unknown language" },
    };
    for (const auto& row : rows)
        EXPECT_EQ(VerLanguageName(row.language), row.name) << std::hex << row.language;
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
    WriteFile(dir / "pe32-several-types.exe",
        TPeFile { false, BuildResourceSection(info, TPeFile::ResourceRva, { 3, 14, 16 }).Section }
            .Build());
    WriteFile(dir / "elf64", ElfWithVersion(info, true));
    WriteFile(dir / "elf32", ElfWithVersion(noTranslation.Build(), false));
    WriteFile(dir / "structure.bin", info);
}

} // namespace
} // namespace velmora

#include "icon_test_files.h"
#include "version/running_program_version.h"
#include "version/version_info_verbose.h"
#include "version/version_query.h"
#include "version/version_stamp.h"
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
    auto named = [&](TVersionBlock block) {
        return recipe([block](TVersionRecipe& r) { r.Strings = { block }; });
    };
    const struct {
        TVersionRecipe recipe;
        std::string productName;
        std::string languageName = "English (United States)";
        int result = Ok;
    } rows[] = {
        { recipe([](TVersionRecipe& r) { // no translations: the German table of code page 1252
             r.Translations.reset();
             r.TableKey = "040704E4";
         }),
            "Example Product", "DEFAULT: German (Germany)" },
        { recipe([](TVersionRecipe& r) { // the first of two translations
             r.Translations = TPairs { { 0x0411, 0x04B0 }, { 0x0409, 0x04E4 } };
             r.TableKey = "041104b0";
         }),
            "Example Product", "Japanese (Japan)" },
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
    TElfFile otherSection;
    otherSection.SectionName = ".rodata";
    otherSection.SectionData = info;
    Bytes bigEndian = ElfWithVersion(info, true);
    bigEndian[5] = 2; // ELFDATA2MSB
    const Bytes elf = ElfWithVersion(info, true);
    const uint32_t table = static_cast<uint32_t>(ElfSectionTable(elf, true));
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
        { NoInfo, otherSection.Build() }, { NoInfo, bigEndian }, { NoInfo, Bytes {} },
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

#include "icon_test_files.h"
#include "version/version_stamp.h"
#include "version_test_files.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

TVersionStamp StampOfFile(const Bytes& bytes)
{
    TTempDir dir;
    WriteFile(dir.Path("program.exe"), bytes);
    return TVersionStamp::FromFile(dir.Path("program.exe").string());
}

TEST(VersionStamp, TakesTheProductVersionAndItsTexts)
{
    // Product version 1.1.1.38, while the string table says "1.0".
    const TVersionStamp stamp = StampOfFile(PeWithVersion(TVersionRecipe().Build()));
    EXPECT_EQ(stamp.WindowTitle(), "Example Product 1.1 - Editor for icons");
    EXPECT_EQ(stamp.VersionBlock(),
        "Version\t  1.0\tCopyright (c) Example\r\nRelease\t  1\r\nBuild\t  38\tEditor for icons");
    EXPECT_EQ(stamp.MailLink("icons@example.com"),
        "mailto:icons@example.com?subject=Example%20Product%201.0.1.38");
}

TEST(VersionStamp, NumbersAndTextsAsTheyCome)
{
    struct TRow {
        const char* Name;
        uint32_t ProductMS;
        uint32_t ProductLS;
        std::string ProductName;
        std::string Title;
        std::string MailLink;
    };
    const std::vector<TRow> rows {
        { "largest numbers stay positive", 0xFFFFFFFF, 0xFFFFFFFF, "P",
            "P 65535.65535 - Editor for icons",
            "mailto:m@example.com?subject=P%201.0.65535.65535" },
    };
    for (const TRow& row : rows) {
        TVersionRecipe recipe;
        recipe.FixedPart = FixedFileInfoBytes(SampleFixedFileInfo(row.ProductMS, row.ProductLS));
        for (TVersionBlock& text : recipe.Strings)
            if (text.Key == "ProductName")
                text = TextBlock("ProductName", row.ProductName);
        const TVersionStamp stamp = StampOfFile(PeWithVersion(recipe.Build()));
        EXPECT_EQ(stamp.WindowTitle(), row.Title) << row.Name;
        EXPECT_EQ(stamp.MailLink("m@example.com"), row.MailLink) << row.Name;
    }
}

TEST(VersionStamp, StaysEmptyWhenTheVersionCannotBeRead)
{
    TVersionRecipe noFixedPart;
    noFixedPart.FixedPart.clear();
    struct TRow {
        const char* Name;
        std::optional<Bytes> File; // none: no file at all
    };
    const std::vector<TRow> rows {
        { "missing file", std::nullopt },
        { "no version information", TPeFile {}.Build() },
        // The texts could be read, but the record is not whole: nothing is taken.
        { "no fixed part", PeWithVersion(noFixedPart.Build()) },
    };
    for (const TRow& row : rows) {
        TTempDir dir;
        const std::string name = dir.Path("program.exe").string();
        if (row.File)
            WriteFile(name, *row.File);
        const TVersionStamp stamp = TVersionStamp::FromFile(name);
        EXPECT_EQ(stamp, TVersionStamp {}) << row.Name;
    }
    EXPECT_EQ(TVersionStamp::FromFile(""), TVersionStamp {});
    EXPECT_EQ(TVersionStamp {}.MailLink("m@example.com"), "mailto:m@example.com?subject=%20.0.0");
}

} // namespace
} // namespace velmora

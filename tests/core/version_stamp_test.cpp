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

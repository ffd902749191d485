#include "support/error.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

TEST(ErrorTest, NestedTextsKeepTheWholeChain)
{
    try {
        NestErrors("Outer failed.\r\n%s", [] {
            NestErrors("Inner failed.\r\n%s", []() -> int { throw EInOutError("disk gone"); });
        });
        FAIL() << "no error raised";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Outer failed.\r\nInner failed.\r\ndisk gone");
    }
}

TEST(ErrorTest, FormatTextFillsPlaceholdersInOrder)
{
    EXPECT_EQ(FormatText("%d*%d, %d bpp", { "16", "32", "8" }), "16*32, 8 bpp");
    EXPECT_EQ(FormatText("100%% of %s", { "x" }), "100% of x");
    EXPECT_EQ(FormatText("%s and %s", { "a" }), "a and ");
}

} // namespace
} // namespace velmora

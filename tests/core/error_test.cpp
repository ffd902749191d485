#include "support/error.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

TEST(ErrorTest, FormatTextFillsPlaceholdersInOrder)
{
    EXPECT_EQ(FormatText("%d*%d, %d bpp", { "16", "32", "8" }), "16*32, 8 bpp");
    EXPECT_EQ(FormatText("100%% of %s", { "x" }), "100% of x");
    EXPECT_EQ(FormatText("%s and %s", { "a" }), "a and ");
}

} // namespace
} // namespace velmora

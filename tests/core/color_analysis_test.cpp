#include "colors/bitmap_analysis.h"
#include "colors/color_tables.h"
#include "colors/pixel_format_codes.h"
#include "icon_test_files.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

/// A 32-bit bitmap of the colours in turn, one pixel each, in rows of 4, with alpha bytes that
/// must not count.
TBitmap BitmapOf(const std::vector<TColor>& colors)
{
    return test::MakeTrueColorBitmap(
        4, static_cast<int>((colors.size() + 3) / 4), TPixelFormat::pf32bit,
        [&](int x, int y) {
            return colors[std::min(static_cast<size_t>(y * 4 + x), colors.size() - 1)];
        },
        0x5A);
}

TEST(ColorAnalysisTest, FlagsAndCountOfPictures)
{
    struct Row {
        const char* name;
        std::vector<TColor> colors;
        TBitmapColorInfo expected;
    };
    const std::vector<Row> rows = {
        { "black and white", { 0x000000, 0xFFFFFF }, { false, false, false, 2 } },
        { "grey 0x333333", { 0x333333 }, { false, false, true, 1 } },
        { "standard colours", { 0x000080, 0xC0C0C0, 0x808000 }, { true, true, false, 3 } },
        { "one odd colour late", { 0, 0, 0, 0, 0, 0, 0x010203 }, { true, true, true, 2 } },
        // The colour whose bit lies at each end of the presence table's words.
        { "table word edges", { 0x000000, 0xFFFFFF, 0x00003F, 0x000040 }, { true, true, true, 4 } },
    };
    for (const Row& row : rows) {
        const TBitmap picture = BitmapOf(row.colors);
        TBitmapColorInfo info { true, true, true, 77 };
        AnalyzeBitmap(&picture, true, true, info);
        EXPECT_EQ(info, row.expected) << row.name;
        AnalyzeBitmap(&picture, false, false, info);
        EXPECT_EQ(info, TBitmapColorInfo {}) << row.name;
    }
    TBitmap indexed(3, 1, TPixelFormat::pf8bit); // read through the palette
    indexed.Palette()[0] = { 0x80, 0x80, 0x80, 0 };
    indexed.Palette()[1] = { 0x33, 0x66, 0x99, 0 };
    indexed.ScanLine(0)[1] = 1;
    TBitmapColorInfo info;
    AnalyzeBitmap(&indexed, true, true, info);
    EXPECT_EQ(info, (TBitmapColorInfo { true, true, true, 2 }));
}

TEST(ColorAnalysisTest, RowSizesAndGreyTest)
{
    EXPECT_EQ(BytesPerScanline(33, 1, 32), 8);
    EXPECT_EQ(BytesPerScanline(3, 4, 8), 2);
    EXPECT_EQ(BytesPerScanline(2147483647, 32, 32), 8589934588);
    for (int64_t align : { 0, -32, 24 })
        EXPECT_THROW(BytesPerScanline(4, 8, align), EInvalidGraphic) << align;
    EXPECT_THROW(BytesPerScanline(-1, 8, 32), EInvalidGraphic);

    EXPECT_FALSE(IsGrayColor(0xABABAC));
    EXPECT_FALSE(IsGrayColor(0xFF000018)); // clInfoBk is 0xE1FFFF
    EXPECT_TRUE(IsGrayColor(0xFF00000F)); // clBtnFace 0xF0F0F0
    EXPECT_EQ(FindStandardColor(0x01000000), -1); // the high byte takes part
}

// Bit counts of images and depths of the screen map to pixel formats differently.
} // namespace
} // namespace velmora

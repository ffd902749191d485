#include "color_test_bitmaps.h"
#include "colors/bitmap_analysis.h"
#include "colors/color_tables.h"
#include "colors/pixel_format_codes.h"
#include "platform/system_colors.h"
#include "support/error.h"

#include <gtest/gtest.h>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace velmora
{
namespace
{

using test::MakeTrueColorBitmap;

/// A 24-bit bitmap of the colours in turn, one pixel each, in rows of 4.
TBitmap BitmapOf(const std::vector<TColor>& colors)
{
    const int width = 4;
    const int height = static_cast<int>((colors.size() + 3) / 4);
    return MakeTrueColorBitmap(width, height, TPixelFormat::pf24bit, [&](int x, int y) {
        const size_t at = static_cast<size_t>(y * width + x);
        return at < colors.size() ? colors[at] : colors.back();
    });
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
        { "gray 0x808080", { 0x808080 }, { false, true, false, 1 } },
        { "grey 0x333333", { 0x333333 }, { false, false, true, 1 } },
        { "web-safe colours", { 0x000000, 0x0033FF, 0x6699CC }, { true, false, true, 3 } },
        { "standard colours", { 0x000080, 0xC0C0C0, 0x808000 }, { true, true, false, 3 } },
        { "one odd colour late", { 0, 0, 0, 0, 0, 0, 0x010203 }, { true, true, true, 2 } },
    };
    for (const Row& row : rows) {
        const TBitmap picture = BitmapOf(row.colors);
        TBitmapColorInfo info;
        AnalyzeBitmap(&picture, true, true, info);
        EXPECT_EQ(info, row.expected) << row.name;
    }
}

TEST(ColorAnalysisTest, FlagsSelectWhatIsProduced)
{
    const TBitmap picture = BitmapOf({ 0x010203, 0x000000, 0x010203, 0x808080 });
    TBitmapColorInfo info { true, true, true, 77 };
    AnalyzeBitmap(&picture, false, true, info);
    EXPECT_EQ(info, (TBitmapColorInfo { false, false, false, 3 }));
    AnalyzeBitmap(&picture, true, false, info);
    EXPECT_EQ(info, (TBitmapColorInfo { true, true, true, 0 }));
    info = { true, true, true, 77 };
    AnalyzeBitmap(&picture, false, false, info);
    EXPECT_EQ(info, TBitmapColorInfo {});
    info = { true, true, true, 77 };
    AnalyzeBitmap(nullptr, true, true, info);
    EXPECT_EQ(info, TBitmapColorInfo {});
}

TEST(ColorAnalysisTest, CountsEveryDistinctColourAndIgnoresAlpha)
{
    std::mt19937 random(7);
    std::set<TColor> distinct;
    const TBitmap picture = MakeTrueColorBitmap(
        64, 64, TPixelFormat::pf32bit,
        [&](int, int) {
            // Few enough distinct values to repeat, spread over the whole colour cube.
            TColor color = test::RandomColor(random) & 0xC3C3C3;
            distinct.insert(color);
            return color;
        },
        0x5A);
    TBitmapColorInfo info;
    AnalyzeBitmap(&picture, false, true, info);
    EXPECT_EQ(info.ColorCount, static_cast<int32_t>(distinct.size()));

    // The colour whose bit lies at each end of the presence table's words.
    const TBitmap edges = BitmapOf({ 0x000000, 0xFFFFFF, 0x00003F, 0x000040, 0xFFFFFF });
    AnalyzeBitmap(&edges, false, true, info);
    EXPECT_EQ(info.ColorCount, 4);
}

TEST(ColorAnalysisTest, PaletteBitmapsAreReadThroughTheirPalette)
{
    TBitmap picture(3, 1, TPixelFormat::pf8bit);
    picture.Palette()[0] = { 0x80, 0x80, 0x80, 0 };
    picture.Palette()[1] = { 0x33, 0x66, 0x99, 0 };
    picture.ScanLine(0)[1] = 1;
    TBitmapColorInfo info;
    AnalyzeBitmap(&picture, true, true, info);
    EXPECT_EQ(info, (TBitmapColorInfo { true, true, true, 2 }));
    EXPECT_EQ(picture.PixelFormat(), TPixelFormat::pf8bit);
}

TEST(ColorAnalysisTest, EmptyPictureGivesNothing)
{
    const TBitmap picture(0, 5, TPixelFormat::pf24bit);
    TBitmapColorInfo info { true, true, true, 5 };
    AnalyzeBitmap(&picture, true, true, info);
    EXPECT_EQ(info, TBitmapColorInfo {});
}

TEST(ColorAnalysisTest, PixelFormatCodes)
{
    struct Row {
        int value;
        TPixelFormat forBitCount;
        TPixelFormat forScreen;
    };
    using enum TPixelFormat;
    const Row rows[] = {
        { 0, pfCustom, pfDevice },
        { 1, pf1bit, pf1bit },
        { 2, pfCustom, pfCustom },
        { 4, pf4bit, pf4bit },
        { 8, pf8bit, pf8bit },
        { 15, pfCustom, pf15bit },
        { 16, pf16bit, pf16bit },
        { 24, pf24bit, pf32bit }, // X11 keeps depth 24 in 32-bit pixels
        { 32, pf32bit, pf32bit },
        { 48, pfCustom, pfCustom },
    };
    EXPECT_EQ(ScreenPixelFormat(), pf32bit);
    for (const Row& row : rows) {
        EXPECT_EQ(PixelFormatForBitCount(static_cast<uint16_t>(row.value)), row.forBitCount)
            << row.value;
        SetScreenColorDepth(row.value);
        EXPECT_EQ(GetScreenColorDepth(), row.value);
        EXPECT_EQ(ScreenPixelFormat(), row.forScreen) << row.value;
    }
    SetScreenColorDepth(32);
}

TEST(ColorAnalysisTest, BytesPerScanline)
{
    struct Row {
        int64_t width;
        int64_t bits;
        int64_t align;
        int64_t bytes;
    };
    const Row rows[] = {
        { 5, 24, 32, 16 },
        { 32, 1, 32, 4 },
        { 33, 1, 32, 8 },
        { 0, 32, 32, 0 },
        { 3, 4, 8, 2 },
        { 7, 8, 16, 8 },
        { 2147483647, 32, 32, 8589934588 },
    };
    for (const Row& row : rows)
        EXPECT_EQ(BytesPerScanline(row.width, row.bits, row.align), row.bytes) << row.width;
    for (int64_t align : { 0, -32, 24 })
        EXPECT_THROW(BytesPerScanline(4, 8, align), EInvalidGraphic) << align;
    EXPECT_THROW(BytesPerScanline(-1, 8, 32), EInvalidGraphic);
}

class FixedSystemColors final : public ISystemColors
{
public:
    TColor Resolve(TColor systemColor) const override
    {
        return systemColor == 0xFF000018 ? 0x505050 : 0x102030;
    }
};

TEST(ColorAnalysisTest, IsGrayColorResolvesSystemColours)
{
    EXPECT_TRUE(IsGrayColor(0x000000));
    EXPECT_TRUE(IsGrayColor(0xABABAB));
    EXPECT_FALSE(IsGrayColor(0xABABAC));
    EXPECT_FALSE(IsGrayColor(0xFF000018)); // clInfoBk is 0xE1FFFF by default
    EXPECT_TRUE(IsGrayColor(0xFF00000F)); // clBtnFace 0xF0F0F0
    EXPECT_TRUE(IsGrayColor(0xFF000005)); // clWindow white

    const FixedSystemColors fixed;
    SetSystemColors(&fixed);
    EXPECT_TRUE(IsGrayColor(0xFF000018));
    EXPECT_FALSE(IsGrayColor(0xFF00000F));
    SetSystemColors(nullptr);
    EXPECT_EQ(ColorToRGB(0xFF000018), 0xE1FFFFu);
    EXPECT_EQ(ColorToRGB(0xFF000008), 0x000000u);
    EXPECT_EQ(ColorToRGB(0x1FFFFFFF), 0x1FFFFFFFu);
}

TEST(ColorAnalysisTest, ColourTables)
{
    EXPECT_EQ(WebSafeColors[0], 0x000000u);
    EXPECT_EQ(WebSafeColors[5], 0x0000FFu);
    EXPECT_EQ(WebSafeColors[6], 0x003300u);
    EXPECT_EQ(WebSafeColors[36], 0x330000u);
    EXPECT_EQ(WebSafeColors[215], 0xFFFFFFu);
    EXPECT_EQ(std::set<TColor>(WebSafeColors.begin(), WebSafeColors.end()).size(), 216u);

    struct Row {
        TColor color;
        int standard;
        int webSafe;
    };
    const Row rows[] = {
        { 0x000000, 0, 0 },
        { 0x0000FF, 9, 5 },
        { 0xFF0000, 12, 180 },
        { 0xFFFFFF, 15, 215 },
        { 0xC0C0C0, 8, -1 },
        { 0x996633, -1, 1 + 6 * 2 + 36 * 3 },
        { 0x010101, -1, -1 },
        { 0x01000000, -1, -1 }, // the high byte takes part in the comparison
        { 0xFF000005, -1, -1 },
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FindStandardColor(row.color), row.standard) << std::hex << row.color;
        EXPECT_EQ(FindWebSafeColor(row.color), row.webSafe) << std::hex << row.color;
    }
}

} // namespace
} // namespace velmora

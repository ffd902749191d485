#include "graphics/bitmap_ops.h"
#include "graphics/bitmap_pixels.h"
#include "support/error.h"

#include <climits>
#include <gtest/gtest.h>

namespace velmora
{
namespace
{

TEST(BitmapPixelsTest, SetThenGetGivesWhatEachFormatHolds)
{
    struct Row {
        TPixelFormat format;
        TColor set;
        TColor expected;
    };
    const Row rows[] = {
        { TPixelFormat::pf15bit, 0x00FF0000, 0x00FF0000 }, // blue 255 -> 31 -> 255
        { TPixelFormat::pf15bit, 0x00102030, 0x00102131 }, // 0x30 -> 6 -> 49, 0x20 -> 4 -> 33
        { TPixelFormat::pf16bit, 0x00102030, 0x00102031 }, // green 0x20 -> 8 -> 0x20
        { TPixelFormat::pf16bit, 0x00FFFFFF, 0x00FFFFFF },
        { TPixelFormat::pf24bit, 0x00123456, 0x00123456 },
        { TPixelFormat::pf32bit, 0xFF123456, 0x00123456 }, // the high byte is no colour
    };
    for (const Row& row : rows) {
        TBitmap bitmap(3, 2, row.format);
        SetPixelColor(bitmap, 2, 1, row.set);
        EXPECT_EQ(GetPixelColor(bitmap, 2, 1), row.expected) << static_cast<int>(row.format);
        EXPECT_EQ(GetPixelColor(bitmap, 1, 1), 0u);
    }
}

TEST(BitmapPixelsTest, PaletteFormatsPickTheNearestEntryAndTheLowerOnATie)
{
    TBitmap bitmap(9, 1, TPixelFormat::pf4bit);
    bitmap.Palette()[3] = TRGBQuad { 0, 0, 200, 0 };
    bitmap.Palette()[5] = TRGBQuad { 0, 0, 200, 0 };
    bitmap.Palette()[6] = TRGBQuad { 0, 0, 100, 0 };
    SetPixelColor(bitmap, 7, 0, RGB(210, 0, 0));
    EXPECT_EQ(GetPixelIndex(bitmap, 7, 0), 3u);
    SetPixelColor(bitmap, 8, 0, RGB(150, 0, 0)); // 50 from both 100 and 200
    EXPECT_EQ(GetPixelIndex(bitmap, 8, 0), 3u);
    EXPECT_EQ(GetPixelIndex(bitmap, 6, 0), 0u);
    EXPECT_EQ(bitmap.ScanLine(0)[3], 0x03); // pixel 7 is the low nibble of byte 3
}

TEST(BitmapPixelsTest, AlphaAndBoundsChecks)
{
    TBitmap bitmap(2, 2, TPixelFormat::pf32bit);
    SetPixelAlpha(bitmap, 1, 0, 77);
    EXPECT_EQ(GetPixelAlpha(bitmap, 1, 0), 77);
    SetPixelColor(bitmap, 1, 0, 0x0000FF);
    EXPECT_EQ(GetPixelAlpha(bitmap, 1, 0), 0); // a drawn pixel has alpha 0
    EXPECT_THROW(GetPixelColor(bitmap, 2, 0), EListError);
    EXPECT_THROW(SetPixelColor(bitmap, 0, -1, 0), EListError);
    EXPECT_THROW(GetPixelAlpha(bitmap, -1, 0), EListError);
}

TEST(BitmapOpsTest, FillsAreClippedAndLeaveAlphaZero)
{
    TBitmap bitmap(5, 4, TPixelFormat::pf32bit);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            SetPixelAlpha(bitmap, x, y, 255);
    FillRect(bitmap, -3, 2, INT_MAX, INT_MAX, 0x112233);
    FillRect(bitmap, INT_MAX, INT_MIN, INT_MAX, INT_MAX, 0xFFFFFF); // far outside: nothing
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(GetPixelColor(bitmap, x, y), y >= 2 ? 0x112233u : 0u);
            EXPECT_EQ(GetPixelAlpha(bitmap, x, y), y >= 2 ? 0 : 255);
        }
    }
    TBitmap mono(11, 3, TPixelFormat::pf1bit);
    mono.Palette()[1] = TRGBQuad { 255, 255, 255, 0 };
    FillRect(mono, 3, 1, 6, 5, 0xF0F0F0);
    EXPECT_EQ(mono.ScanLine(0)[0], 0x00);
    EXPECT_EQ(mono.ScanLine(1)[0], 0x1F); // pixels 3..8
    EXPECT_EQ(mono.ScanLine(2)[1], 0x80);
    FillBitmap(mono, 0xFFFFFF);
    EXPECT_EQ(mono.ScanLine(2)[1], 0xE0);
}

TEST(BitmapOpsTest, CopyClipsAndConvertsColours)
{
    TBitmap src(3, 2, TPixelFormat::pf32bit);
    SetPixelColor(src, 0, 0, 0x0000FF);
    SetPixelAlpha(src, 0, 0, 9);
    SetPixelColor(src, 2, 1, 0x00FF00);
    SetPixelAlpha(src, 2, 1, 200);

    TBitmap same(4, 4, TPixelFormat::pf32bit);
    CopyBitmap(same, 2, 3, src); // only the source's top row, first two pixels, lands
    EXPECT_EQ(GetPixelColor(same, 2, 3), 0x0000FFu);
    EXPECT_EQ(GetPixelAlpha(same, 2, 3), 9);
    CopyBitmap(same, -2, -1, src);
    EXPECT_EQ(GetPixelColor(same, 0, 0), 0x00FF00u);
    EXPECT_EQ(GetPixelAlpha(same, 0, 0), 200);

    TBitmap wide(3, 2, TPixelFormat::pf16bit);
    CopyBitmap(wide, 0, 0, src);
    EXPECT_EQ(GetPixelColor(wide, 2, 1), 0x00FF00u);

    TBitmap indexed(3, 2, TPixelFormat::pf1bit);
    indexed.Palette()[0] = TRGBQuad { 0, 0, 255, 0 };
    indexed.Palette()[1] = TRGBQuad { 0, 255, 0, 0 };
    CopyBitmap(indexed, 0, 0, src);
    EXPECT_EQ(GetPixelIndex(indexed, 2, 1), 1u);
    EXPECT_EQ(GetPixelIndex(indexed, 0, 0), 0u);

    CopyBitmap(same, 1, 0, same); // a bitmap onto itself reads the picture before drawing
    EXPECT_EQ(GetPixelColor(same, 1, 0), 0x00FF00u);
    EXPECT_EQ(GetPixelColor(same, 3, 3), 0x0000FFu);
}

TEST(BitmapOpsTest, StretchTakesTheIntegerNearestSourcePixel)
{
    TBitmap src(4, 1, TPixelFormat::pf8bit);
    for (int x = 0; x < 4; ++x) {
        src.Palette()[static_cast<size_t>(x)]
            = TRGBQuad { 0, 0, static_cast<uint8_t>(10 * x + 10), 0 };
        SetPixelIndex(src, x, 0, static_cast<uint32_t>(x));
    }
    struct Row {
        int dstW;
        int srcX, srcW;
        std::vector<uint32_t> indices;
    };
    const Row rows[] = {
        { 3, 0, 4, { 0, 1, 2 } }, // 4 -> 3: columns 0, 4/3, 8/3
        { 8, 0, 4, { 0, 0, 1, 1, 2, 2, 3, 3 } },
        { 5, 1, 2, { 1, 1, 1, 2, 2 } }, // 2 -> 5: 0, 0, 0, 1, 1 (6/5 = 1)
        { 3, 2, 4, { 2, 3, 0 } }, // the third source column lies past the source: left alone
    };
    for (const Row& row : rows) {
        TBitmap dest(row.dstW, 2, TPixelFormat::pf8bit);
        dest.Palette() = src.Palette();
        StretchCopy(dest, 0, 1, row.dstW, 1, src, row.srcX, 0, row.srcW, 1);
        for (int x = 0; x < row.dstW; ++x) {
            EXPECT_EQ(GetPixelIndex(dest, x, 1), row.indices[static_cast<size_t>(x)]) << x;
            EXPECT_EQ(GetPixelIndex(dest, x, 0), 0u);
        }
    }
}

TEST(BitmapOpsTest, BrushCopyReplacesOneColourAndKeepsAlphaOfTheRest)
{
    TBitmap src(2, 2, TPixelFormat::pf32bit);
    FillBitmap(src, 0xFF00FF);
    SetPixelColor(src, 1, 0, 0x123456);
    SetPixelAlpha(src, 1, 0, 128);
    SetPixelAlpha(src, 0, 1, 255);

    TBitmap dest(2, 2, TPixelFormat::pf32bit);
    FillBitmap(dest, 0xFFFFFF);
    BrushCopy(dest, src, 0xFF00FF, 0x000000);
    EXPECT_EQ(GetPixelColor(dest, 1, 0), 0x123456u);
    EXPECT_EQ(GetPixelAlpha(dest, 1, 0), 128);
    for (auto [x, y] : { std::pair { 0, 0 }, { 0, 1 }, { 1, 1 } }) {
        EXPECT_EQ(GetPixelColor(dest, x, y), 0u);
        EXPECT_EQ(GetPixelAlpha(dest, x, y), 0);
    }

    TBitmap dest24(2, 2, TPixelFormat::pf24bit);
    BrushCopy(dest24, src, 0x00FF00FF, 0x0000FF);
    EXPECT_EQ(GetPixelColor(dest24, 0, 0), 0x0000FFu);
    EXPECT_EQ(GetPixelColor(dest24, 1, 0), 0x123456u);
}

TEST(BitmapOpsTest, MonochromeMaskMarksOneColourWhite)
{
    TBitmap src(10, 2, TPixelFormat::pf24bit);
    SetPixelColor(src, 0, 0, 0xFF00FF);
    SetPixelColor(src, 9, 1, 0xFF00FF);
    SetPixelColor(src, 5, 1, 0xFF00FE);
    TBitmap mask = MakeMonochromeMask(src, 0xFF00FF);
    ASSERT_EQ(mask.PixelFormat(), TPixelFormat::pf1bit);
    EXPECT_EQ(mask.Palette(), (std::vector<TRGBQuad> { { 0, 0, 0, 0 }, { 255, 255, 255, 0 } }));
    EXPECT_EQ(mask.ScanLine(0)[0], 0x80);
    EXPECT_EQ(mask.ScanLine(0)[1], 0x00);
    EXPECT_EQ(mask.ScanLine(1)[0], 0x00);
    EXPECT_EQ(mask.ScanLine(1)[1], 0x40);
    EXPECT_EQ(GetPixelColor(mask, 9, 1), 0xFFFFFFu);
}

} // namespace
} // namespace velmora

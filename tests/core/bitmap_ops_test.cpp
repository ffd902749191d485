#include "graphics/bitmap_convert.h"
#include "graphics/bitmap_ops.h"
#include "graphics/bitmap_pixels.h"
#include "support/error.h"

#include <climits>
#include <gtest/gtest.h>

namespace velmora
{
namespace
{

TEST(BitmapPixelsTest, DrawnPixelsHaveAlphaZeroAndBoundsAreChecked)
{
    TBitmap bitmap(2, 2, TPixelFormat::pf32bit);
    SetPixelAlpha(bitmap, 1, 0, 77);
    EXPECT_EQ(GetPixelAlpha(bitmap, 1, 0), 77);
    SetPixelColor(bitmap, 1, 0, 0xFF0000FF); // the high byte is no colour
    EXPECT_EQ(GetPixelColor(bitmap, 1, 0), 0x0000FFu);
    EXPECT_EQ(GetPixelAlpha(bitmap, 1, 0), 0);
    EXPECT_THROW(GetPixelColor(bitmap, 2, 0), EListError);
    EXPECT_THROW(SetPixelColor(bitmap, 0, -1, 0), EListError);
}

TEST(BitmapOpsTest, FillsAndCopiesAreClipped)
{
    TBitmap bitmap(5, 4, TPixelFormat::pf32bit);
    FillRect(bitmap, -3, 2, INT_MAX, INT_MAX, 0x112233);
    FillRect(bitmap, INT_MAX, INT_MIN, INT_MAX, INT_MAX, 0xFFFFFF); // far outside: nothing
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(GetPixelColor(bitmap, x, y), y >= 2 ? 0x112233u : 0u);
    TBitmap mono(11, 3, TPixelFormat::pf1bit);
    mono.Palette()[1] = TRGBQuad { 255, 255, 255, 0 };
    FillRect(mono, 3, 1, 6, 5, 0xF0F0F0);
    EXPECT_EQ(mono.ScanLine(0)[0], 0x00);
    EXPECT_EQ(mono.ScanLine(1)[0], 0x1F); // pixels 3..8
    EXPECT_EQ(mono.ScanLine(2)[1], 0x80);

    TBitmap src(3, 2, TPixelFormat::pf32bit);
    SetPixelColor(src, 0, 0, 0x0000FF);
    SetPixelColor(src, 2, 1, 0x00FF00);
    SetPixelAlpha(src, 2, 1, 200);
    TBitmap same(4, 4, TPixelFormat::pf32bit);
    CopyBitmap(same, 2, 3, src); // only the source's top row, first two pixels, lands
    CopyBitmap(same, -2, -1, src);
    EXPECT_EQ(GetPixelColor(same, 2, 3), 0x0000FFu);
    EXPECT_EQ(GetPixelColor(same, 0, 0), 0x00FF00u);
    EXPECT_EQ(GetPixelAlpha(same, 0, 0), 200);
    CopyBitmap(same, 1, 0, same); // a bitmap onto itself reads the picture before drawing
    EXPECT_EQ(GetPixelColor(same, 1, 0), 0x00FF00u);
    EXPECT_EQ(GetPixelColor(same, 3, 3), 0x0000FFu);
    TBitmap indexed(3, 2, TPixelFormat::pf1bit);
    indexed.Palette()[1] = TRGBQuad { 0, 255, 0, 0 };
    CopyBitmap(indexed, 0, 0, src);
    EXPECT_EQ(GetPixelIndex(indexed, 2, 1), 1u);
}

TEST(BitmapOpsTest, StretchTakesTheIntegerNearestSourcePixel)
{
    TBitmap src(4, 1, TPixelFormat::pf8bit);
    for (uint32_t x = 0; x < 4; ++x) {
        src.Palette()[x] = TRGBQuad { 0, 0, static_cast<uint8_t>(10 * x + 10), 0 };
        SetPixelIndex(src, static_cast<int>(x), 0, x);
    }
    struct Row {
        int dstW, srcX, srcW;
        std::vector<uint32_t> indices;
    };
    const Row rows[] = {
        { 3, 0, 4, { 0, 1, 2 } }, // 4 -> 3: columns 0, 4/3, 8/3
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

TEST(BitmapConvertTest, PaletteTargetsTakeTheNearestEntryAndTheLowerIndexOnATie)
{
    struct Row {
        TPixelFormat format;
        TColor color;
        uint32_t index;
    };
    const Row rows[] = {
        { TPixelFormat::pf4bit, 0x000040, 0 }, // 64 from black and from maroon
        { TPixelFormat::pf4bit, 0x000041, 1 },
        { TPixelFormat::pf4bit, 0xA0A0A0, 7 }, // 32 a channel from gray and from silver
        { TPixelFormat::pf4bit, 0xFF00FF, 13 },
        { TPixelFormat::pf1bit, 0x7F7F7F, 0 },
        { TPixelFormat::pf1bit, 0x808080, 1 },
        { TPixelFormat::pf8bit, 0x336699, 36 * 1 + 6 * 2 + 3 }, // blue 0x33, green 0x66, red 0x99
        { TPixelFormat::pf8bit, 0x080808, 216 },
        { TPixelFormat::pf8bit, 0xF2F2F2, 255 },
    };
    for (const Row& row : rows) {
        TBitmap bitmap(2, 1, TPixelFormat::pf24bit);
        SetPixelColor(bitmap, 1, 0, row.color);
        ConvertPixelFormat(bitmap, row.format);
        ASSERT_EQ(bitmap.PixelFormat(), row.format);
        EXPECT_EQ(GetPixelIndex(bitmap, 1, 0), row.index) << std::hex << row.color;
    }
}

TEST(BitmapConvertTest, DeepFormatsKeepColoursAndDropAlpha)
{
    TBitmap bitmap(2, 1, TPixelFormat::pf32bit);
    SetPixelColor(bitmap, 0, 0, 0x10F080);
    SetPixelAlpha(bitmap, 0, 0, 99);
    ConvertPixelFormat(bitmap, TPixelFormat::pf24bit);
    EXPECT_EQ(bitmap.Pixels()[3], 0x00); // blue, green, red: the alpha byte is gone
    ConvertPixelFormat(bitmap, TPixelFormat::pf32bit);
    EXPECT_EQ(GetPixelAlpha(bitmap, 0, 0), 0);
    ConvertPixelFormat(bitmap, TPixelFormat::pf16bit);
    EXPECT_EQ(ReadU16(bitmap.ScanLine(0)), (0x80 >> 3) << 11 | (0xF0 >> 2) << 5 | (0x10 >> 3));
    ConvertPixelFormat(bitmap, TPixelFormat::pf15bit);
    ConvertPixelFormat(bitmap, TPixelFormat::pf24bit);
    EXPECT_EQ(GetPixelColor(bitmap, 0, 0), 0x10F784u); // 5 bits widened: 0x84, 0xF7, 0x10

    TBitmap indexed(1, 1, TPixelFormat::pf8bit);
    indexed.Palette()[0] = TRGBQuad { 1, 2, 3, 4 };
    const TBitmap before = indexed;
    ConvertPixelFormat(indexed, TPixelFormat::pf8bit);
    EXPECT_EQ(indexed, before);
    ConvertPixelFormat(indexed, TPixelFormat::pf32bit);
    EXPECT_EQ(GetPixelColor(indexed, 0, 0), 0x010203u);
    EXPECT_TRUE(indexed.Palette().empty());
    EXPECT_THROW(ConvertPixelFormat(indexed, TPixelFormat::pfCustom), EInvalidGraphic);
    EXPECT_THROW(ConvertPixelFormat(indexed, TPixelFormat::pfDevice), EInvalidGraphic);
}

} // namespace
} // namespace velmora

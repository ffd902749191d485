#include "graphics/bitmap_convert.h"
#include "graphics/bitmap_pixels.h"
#include "support/error.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

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

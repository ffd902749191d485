#include "color_test_bitmaps.h"
#include "colors/color_lookup.h"
#include "colors/color_reduction.h"
#include "support/error.h"

#include <gtest/gtest.h>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace velmora
{
namespace
{

using test::MakeSolidBitmap;
using test::MakeTrueColorBitmap;

TRGBQuad Quad(TColor color)
{
    return TRGBQuad { BlueOf(color), GreenOf(color), RedOf(color), 0 };
}

uint8_t IndexAt(const TBitmap& bitmap, int x, int y)
{
    return bitmap.ScanLine(y)[x];
}

/// Checks the 8-bit result's palette: the given colours first, then zero entries.
void ExpectPalette(const TBitmap& bitmap, const std::vector<TColor>& colors, int important)
{
    ASSERT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
    ASSERT_EQ(bitmap.Palette().size(), 256u);
    EXPECT_EQ(bitmap.ImportantColors(), important);
    for (size_t i = 0; i < 256; ++i)
        EXPECT_EQ(bitmap.Palette()[i], i < colors.size() ? Quad(colors[i]) : TRGBQuad {})
            << "entry " << i;
}

TEST(ColorReductionTest, GreyPictureKeepsEveryLevel)
{
    for (int level : { 0, 1, 128, 254, 255 }) {
        const auto v = static_cast<uint8_t>(level);
        TBitmap bitmap = MakeSolidBitmap(3, 2, RGB(v, v, v));
        ReduceBitmapColors(bitmap, crmGrayScale);
        std::vector<TColor> greys;
        for (int i = 0; i < 256; ++i)
            greys.push_back(
                RGB(static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)));
        ExpectPalette(bitmap, greys, 256);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(IndexAt(bitmap, x, y), v);
    }
    // Colours go by luminance, truncated: (77 * 255 + 150 * 0 + 29 * 0) / 256 = 76.
    TBitmap colour = MakeTrueColorBitmap(
        3, 1, TPixelFormat::pf32bit, [](int x, int) { return TColor { 0xFFu << (8 * x) }; });
    ReduceBitmapColors(colour, crmGrayScale);
    EXPECT_EQ(IndexAt(colour, 0, 0), 76);
    EXPECT_EQ(IndexAt(colour, 1, 0), 149);
    EXPECT_EQ(IndexAt(colour, 2, 0), 28);
}

TEST(ColorReductionTest, WebSafePictureMapsExactly)
{
    const uint8_t levels[] = { 0, 51, 102, 153, 204, 255 };
    TBitmap bitmap = MakeTrueColorBitmap(36, 6, TPixelFormat::pf24bit,
        [&](int x, int y) { return RGB(levels[y], levels[x / 6], levels[x % 6]); });
    ReduceBitmapColors(bitmap, crmWebSafe);
    std::vector<TColor> colors;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colors.push_back(RGB(levels[r], levels[g], levels[b]));
    ExpectPalette(bitmap, colors, 216);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 36; ++x)
            EXPECT_EQ(IndexAt(bitmap, x, y), 36 * y + x);
}

TEST(ColorReductionTest, WebSafeLevelsUseAnOffsetOfThree)
{
    struct Row {
        uint8_t value;
        int level;
    };
    const Row rows[] = { { 0, 0 }, { 47, 0 }, { 48, 1 }, { 98, 1 }, { 99, 2 }, { 149, 2 },
        { 150, 3 }, { 200, 3 }, { 201, 4 }, { 251, 4 }, { 252, 5 }, { 255, 5 } };
    TNetscapeColorLookup lookup;
    for (const Row& row : rows) {
        uint8_t r = 0, g = 0, b = 0;
        EXPECT_EQ(lookup.MapColor(row.value, 0, 0, r, g, b), 36 * row.level) << int { row.value };
        EXPECT_EQ(lookup.MapColor(0, 0, row.value, r, g, b), row.level);
        EXPECT_EQ(b, 51 * row.level);
    }
}

TEST(ColorReductionTest, ThreeColoursBecomeTheFirstEntriesInKeyOrder)
{
    // Interleaved keys: 0x102030 (blue 0x10 ...) sorts by the top bits red, green, blue.
    const TColor a = RGB(200, 10, 10);
    const TColor b = RGB(10, 200, 10);
    const TColor c = RGB(10, 10, 200);
    TBitmap bitmap = MakeTrueColorBitmap(3, 3, TPixelFormat::pf24bit, [&](int x, int y) {
        return (x + y) % 3 == 0 ? a : (x + y) % 3 == 1 ? b : c;
    });
    ReduceBitmapColors(bitmap, crmOptimized);
    ExpectPalette(bitmap, { c, b, a }, 256);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(IndexAt(bitmap, x, y), 2 - (x + y) % 3);
}

TEST(ColorReductionTest, ColoursOfOneCacheCellShareTheLowerIndex)
{
    // Both colours are entries, but the first owns the 15-bit cell of both.
    const TColor low = RGB(64, 64, 64);
    const TColor high = RGB(71, 70, 69);
    TBitmap bitmap = MakeTrueColorBitmap(
        2, 2, TPixelFormat::pf24bit, [&](int x, int y) { return (x + y) % 2 == 0 ? high : low; });
    ReduceBitmapColors(bitmap, crmOptimized);
    ExpectPalette(bitmap, { low, high }, 256);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(IndexAt(bitmap, x, y), 0);
}

TEST(ColorReductionTest, ColoursPastTwoHundredFiftySixMergeTheLastDeepestNodes)
{
    // Reds 0..253 fill 127 level-7 nodes with two leaves each. (0,0,1) joins red 0's node;
    // (0,0,2) and (0,0,4) add level-7 nodes with one leaf each, the second making 257.
    // Merging the two single-leaf nodes leaves 257, so the node of reds 252 and 253 (the
    // last two-leaf one) merges too, into (252, 0, 0).
    std::vector<TColor> pixels;
    for (int red = 0; red < 254; ++red)
        pixels.push_back(RGB(static_cast<uint8_t>(red), 0, 0));
    pixels.insert(pixels.end(), { RGB(0, 0, 1), RGB(0, 0, 2), RGB(0, 0, 4) });
    TBitmap bitmap = MakeTrueColorBitmap(static_cast<int>(pixels.size()), 1, TPixelFormat::pf24bit,
        [&](int x, int) { return pixels[static_cast<size_t>(x)]; });
    ReduceBitmapColors(bitmap, crmOptimized);

    std::vector<TColor> expected = { RGB(0, 0, 0), RGB(0, 0, 1), RGB(1, 0, 0), RGB(0, 0, 2),
        RGB(2, 0, 0), RGB(3, 0, 0), RGB(0, 0, 4) };
    for (int red = 4; red <= 252; ++red)
        expected.push_back(RGB(static_cast<uint8_t>(red), 0, 0));
    ASSERT_EQ(expected.size(), 256u);
    ExpectPalette(bitmap, expected, 256);
    // Every cell here is owned by an entry: the lowest entry of the same 15-bit key.
    for (size_t x = 0; x < pixels.size(); ++x) {
        const int red = RedOf(pixels[x]);
        const int owner = red < 8 ? 0 : red - red % 8 + 3;
        EXPECT_EQ(IndexAt(bitmap, static_cast<int>(x), 0), owner) << "pixel " << x;
    }
}

TEST(ColorReductionTest, EmptyPictureIsRefusedAfterTheConversion)
{
    for (auto [width, height] : { std::pair { 0, 3 }, std::pair { 3, 0 } }) {
        for (auto method : { crmGrayScale, crmWebSafe, crmOptimized }) {
            TBitmap bitmap(width, height, TPixelFormat::pf32bit);
            try {
                ReduceBitmapColors(bitmap, method);
                ADD_FAILURE() << "no error";
            } catch (const GIFException& e) {
                EXPECT_STREQ(e.what(), "Invalid image dimensions");
            }
            EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
            EXPECT_EQ(bitmap.Width(), width);
        }
    }
    static_assert(std::is_base_of_v<Exception, GIFException>);
    static_assert(std::is_base_of_v<Exception, EOutOfMemory>);
}

TEST(ColorReductionTest, SerpentineOrder)
{
    TGrayScaleLookup lookup;
    TDitherEngine engine(3, lookup);
    std::string order;
    uint8_t r = 0, g = 0, b = 0;
    for (int row = 0; row < 3; ++row) {
        while (engine.Column() >= 0 && engine.Column() < 3) {
            order += std::to_string(engine.Column());
            engine.MapPixel(0, 0, 0, r, g, b);
        }
        order += '|';
        engine.NextRow();
    }
    EXPECT_EQ(order, "012|210|012|");
}

TEST(ColorReductionTest, FastLookupSearchesByAbsoluteDistanceLowestIndexFirst)
{
    const TColorPalette palette = { Quad(RGB(0, 0, 0)), Quad(RGB(100, 100, 40)),
        Quad(RGB(75, 75, 75)), Quad(RGB(40, 40, 40)) };
    TFastColorLookup lookup(palette);
    EXPECT_EQ(lookup.Colors, 4);
    uint8_t r = 0, g = 0, b = 0;
    // Sums of absolute differences 300, 60, 75, 180: entry 1, though entry 2 is nearer by
    // squared distance.
    EXPECT_EQ(lookup.MapColor(100, 100, 100, r, g, b), 1);
    EXPECT_EQ(RGB(r, g, b), RGB(100, 100, 40));
    // A tie between entries 0 and 3 (60 each) goes to the lower index.
    EXPECT_EQ(lookup.MapColor(20, 20, 20, r, g, b), 0);
    // The cell of (20, 20, 20) now answers for (23, 23, 23) too, without a search.
    EXPECT_EQ(lookup.MapColor(23, 23, 23, r, g, b), 0);
    // A palette colour's own cell belongs to it from the start.
    EXPECT_EQ(lookup.MapColor(79, 79, 79, r, g, b), 2);
}

} // namespace
} // namespace velmora

#include "colors/bitmap_analysis.h"
#include "colors/bitmap_mask.h"
#include "colors/chevron.h"
#include "colors/color_lookup.h"
#include "colors/color_reduction.h"
#include "colors/color_tables.h"
#include "colors/pixel_format_codes.h"
#include "icon_test_files.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <random>
#include <set>

namespace velmora
{
namespace
{

using test::MakeTrueColorBitmap;

/// Checks the 8-bit result: the given colours first in the palette, then black entries.
void ExpectPalette(const TBitmap& bitmap, const std::vector<TColor>& colors, int important)
{
    ASSERT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(bitmap.ImportantColors(), important);
    TColorPalette expected(256);
    for (size_t i = 0; i < colors.size(); ++i)
        expected[i] = QuadOf(colors[i]);
    EXPECT_EQ(bitmap.Palette(), expected);
}

TEST(ColorReductionTest, GreyAndWebSafeMapEachPixelByItsLevels)
{
    // Web-safe levels are (value + 3) / 51; grey levels the luminance, truncated.
    const uint8_t values[] = { 0, 47, 48, 98, 99, 149, 150, 200, 201, 251, 252, 255 };
    auto colorAt = [&](int x, int y) { return RGB(values[x], values[(x + y) % 12], values[y]); };
    struct Row {
        TColorReductionMethod method;
        std::vector<TColor> palette;
        std::function<int(TColor)> index;
    };
    std::vector<TColor> greys, webSafe;
    for (int i = 0; i < 256; ++i)
        greys.push_back(RGB(uint8_t(i), uint8_t(i), uint8_t(i)));
    for (TColor i = 0; i < 216; ++i)
        webSafe.push_back(RGB(uint8_t(i / 36 * 51), uint8_t(i / 6 % 6 * 51), uint8_t(i % 6 * 51)));
    auto level = [](uint8_t value) { return (value + 3) / 51; };
    const Row rows[] = {
        { crmGrayScale, greys,
            [](TColor c) { return (77 * RedOf(c) + 150 * GreenOf(c) + 29 * BlueOf(c)) / 256; } },
        { crmWebSafe, webSafe,
            [&](TColor c) {
                return 36 * level(RedOf(c)) + 6 * level(GreenOf(c)) + level(BlueOf(c));
            } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.method);
        TBitmap bitmap = MakeTrueColorBitmap(12, 12, TPixelFormat::pf32bit, colorAt, 0x80);
        ReduceBitmapColors(bitmap, row.method);
        ExpectPalette(bitmap, row.palette, static_cast<int>(row.palette.size()));
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                EXPECT_EQ(bitmap.ScanLine(y)[x], row.index(colorAt(x, y))) << x << "," << y;
    }
}

TEST(ColorReductionTest, EmptyPictureIsRefusedAfterTheConversion)
{
    for (auto [width, height] : { std::pair { 0, 3 }, std::pair { 3, 0 } }) {
        TBitmap bitmap(width, height, TPixelFormat::pf32bit);
        EXPECT_EQ(test::ErrorOf<GIFException>([&] { ReduceBitmapColors(bitmap, crmOptimized); }),
            "Invalid image dimensions");
        EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
    }
}

/// Reduces the picture and checks every index: pixels go in serpentine order through a 15-bit
/// cache whose cells first belong to the lowest palette entry of their key and are otherwise
/// filled by the entry nearest to the first colour that meets them. Returns the palette.
TColorPalette ExpectNearestThroughTheCache(const TBitmap& picture)
{
    TBitmap reduced = picture;
    ReduceBitmapColors(reduced, crmOptimized);
    EXPECT_EQ(reduced.PixelFormat(), TPixelFormat::pf8bit);
    const TColorPalette palette = reduced.Palette();
    EXPECT_EQ(palette.size(), 256u);
    std::map<int, int> cells;
    auto cellOf = [](const TRGBQuad& q) {
        return q.rgbBlue >> 3 << 10 | q.rgbGreen >> 3 << 5 | q.rgbRed >> 3;
    };
    for (int i = 0; i < 256; ++i)
        cells.try_emplace(cellOf(palette[static_cast<size_t>(i)]), i);
    for (int y = 0; y < picture.Height(); ++y)
        for (int step = 0; step < picture.Width(); ++step) {
            const int x = y % 2 == 0 ? step : picture.Width() - 1 - step;
            const TRGBQuad c = QuadOf(GetPixelColor(picture, x, y));
            auto distance = [&](size_t i) {
                const TRGBQuad& p = palette[i];
                return std::abs(p.rgbRed - c.rgbRed) + std::abs(p.rgbGreen - c.rgbGreen)
                    + std::abs(p.rgbBlue - c.rgbBlue);
            };
            auto cell = cells.find(cellOf(c));
            if (cell == cells.end()) {
                size_t best = 0;
                for (size_t i = 1; i < 256; ++i)
                    best = distance(i) < distance(best) ? i : best;
                cell = cells.emplace(cellOf(c), static_cast<int>(best)).first;
            }
            EXPECT_EQ(reduced.ScanLine(y)[x], cell->second) << x << "," << y;
            if (reduced.ScanLine(y)[x] != cell->second)
                return palette;
        }
    return palette;
}

TEST(ColorQuantizerTest, PixelsTakeTheirNearestEntryOnRandomPictures)
{
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        std::mt19937 random(seed);
        // Every pixel its own colour, then clusters of near colours.
        ExpectNearestThroughTheCache(test::MakeTrueColorBitmap(
            72, 72, TPixelFormat::pf24bit, [&](int, int) { return random() & 0xFFFFFF; }));
        std::vector<TColor> bases(40);
        for (TColor& base : bases)
            base = random() & 0xFFFFFF;
        ExpectNearestThroughTheCache(test::MakeTrueColorBitmap(72, 72, TPixelFormat::pf24bit,
            [&](int, int) { return bases[random() % bases.size()] ^ (random() & 0x0F0F0F); }));
    }
}

// 254 colours apart, then three that differ only in their lowest bits: the 257th colour makes
// the tree merge its last node of the deepest level, the three's, into one entry.
TEST(ColorQuantizerTest, MoreThan256ColoursMergeTheNewestDeepestNode)
{
    std::vector<TColor> colors;
    for (int i = 0; i < 254; ++i)
        colors.push_back(RGB(static_cast<uint8_t>(i + 1), static_cast<uint8_t>(254 - i), 128));
    for (TColor near : { RGB(200, 200, 0), RGB(201, 200, 0), RGB(200, 201, 1) })
        colors.push_back(near);
    const TColorPalette palette = ExpectNearestThroughTheCache(test::MakeTrueColorBitmap(
        257, 1, TPixelFormat::pf24bit, [&](int x, int) { return colors[static_cast<size_t>(x)]; }));
    std::set<TColor> entries;
    for (const TRGBQuad& entry : palette)
        if (entry != TRGBQuad {})
            entries.insert(RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue));
    EXPECT_EQ(entries.size(), 255u);
    for (int i = 0; i < 254; ++i)
        EXPECT_TRUE(entries.contains(colors[static_cast<size_t>(i)])) << i;
}

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

using test::MakeSolidBitmap;

TEST(MasksTest, AlphaIsTheMaskRedScaledAndRoundedHalfToEven)
{
    struct Row {
        uint8_t maskRed;
        int percentage;
        uint8_t alpha;
    };
    const Row rows[] = {
        { 255, 50, 128 }, // 127.5 goes to the even 128
        { 1, 50, 0 }, // 0.5 goes to the even 0
        { 255, 200, 255 }, // held to a byte, not wrapped
        { 255, -50, 0 },
        // Products that fall on different sides of a half in double and in extended precision.
        { 190, 15, 29 },
        { 150, 7, 10 },
    };
    const TBitmap colour = MakeSolidBitmap(1, 1, 0x123456);
    for (const Row& row : rows) {
        if (row.percentage % 50 != 0 && std::numeric_limits<long double>::digits != 64)
            continue; // long double is not the 80-bit extended type here
        const TBitmap mask = MakeSolidBitmap(1, 1, RGB(row.maskRed, 7, 9));
        auto result = AddMaskToBitmap32(colour, &mask, row.percentage);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->ScanLine(0)[3], row.alpha)
            << int { row.maskRed } << " at " << row.percentage << "%";
    }
}

TEST(MasksTest, ColoursComeFromTheColourBitmapOverTheMaskSize)
{
    const TBitmap colour = test::MakeTrueColorBitmap(5, 4, TPixelFormat::pf24bit,
        [](int x, int y) { return RGB(static_cast<uint8_t>(x * 40), static_cast<uint8_t>(y), 9); });
    const TBitmap mask = test::MakeTrueColorBitmap(3, 2, TPixelFormat::pf24bit,
        [](int x, int y) { return RGB(static_cast<uint8_t>(100 * y + x), 255, 255); });
    auto result = AddMaskToBitmap32(colour, &mask, 100);
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(result->PixelFormat(), TPixelFormat::pf32bit);
    ASSERT_EQ(result->Width(), 3);
    ASSERT_EQ(result->Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(GetPixelColor(*result, x, y), GetPixelColor(colour, x, y));
            EXPECT_EQ(GetPixelAlpha(*result, x, y), 100 * y + x);
        }

    const TBitmap empty, mask32(4, 4, TPixelFormat::pf32bit), mask8(4, 4, TPixelFormat::pf8bit);
    for (const TBitmap* none : { static_cast<const TBitmap*>(nullptr), &empty, &mask32, &mask8 })
        EXPECT_EQ(AddMaskToBitmap32(colour, none, 100), nullptr);

    // A colour bitmap that does not cover the mask as a 24-bit bitmap is refused.
    EXPECT_THROW(AddMaskToBitmap32(TBitmap(8, 8, TPixelFormat::pf32bit), &mask, 100), Exception);
    EXPECT_EQ(test::ErrorOf([&] { AddMaskToBitmap32(MakeSolidBitmap(2, 3, 0), &mask, 100); }),
        "AddMaskToBitmap32 failed.\nThe colour bitmap (2 x 3 pixels, 24 bits per pixel) does not "
        "cover its mask (3 x 2 pixels) as a 24-bit bitmap.");
}

/// The picture as text, one line per row: '#' for the colour, '.' for anything else.
std::string Picture(const TBitmap& bitmap, TColor color)
{
    std::string text;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x)
            text += GetPixelColor(bitmap, x, y) == color ? '#' : '.';
        text += '\n';
    }
    return text;
}

TEST(ChevronTest, ShapesOfTwoDirectionsAndAScale)
{
    struct Row {
        int direction, scale;
        std::string picture;
    };
    const Row rows[] = {
        { cdUp, 1, "......\n...#..\n..###.\n.##.##\n.#...#\n......\n" },
        { cdLeft, 1, "......\n...##.\n..##..\n.##...\n..##..\n...##.\n" },
        { cdUp, 2,
            "..........\n.....#....\n....###...\n...#####..\n..###.###.\n"
            ".###...###\n.##.....##\n.#.......#\n..........\n..........\n" },
    };
    for (const Row& row : rows) {
        const int size = 4 * row.scale + 2;
        TBitmap bitmap = test::MakeSolidBitmap(size, size, 0xFFFFFF);
        DrawChevron(bitmap, row.direction, 1, 1, 0x0000FF, row.scale);
        EXPECT_EQ(Picture(bitmap, 0x0000FF), row.picture)
            << "direction " << row.direction << " scale " << row.scale;
    }
}

TEST(ChevronTest, ClippingColoursAndRefusals)
{
    TBitmap bitmap = test::MakeSolidBitmap(3, 2, 0xFFFFFF);
    DrawChevron(bitmap, cdDown, -2, -1, 0, 1);
    DrawChevron(bitmap, cdLeft, 1000000, -1000000, 0, 4096);
    DrawChevron(bitmap, cdUp, -2147483647, 2147483647, 0, -4096);
    DrawChevron(bitmap, 4, 0, 0, 0, 1); // no such direction: nothing drawn
    EXPECT_EQ(Picture(bitmap, 0), ".##\n##.\n");
    EXPECT_THROW(DrawChevron(bitmap, cdUp, 0, 0, 0, 4097), EInvalidGraphic);
    EXPECT_THROW(DrawChevron(bitmap, cdUp, 0, 0, 0, -4097), EInvalidGraphic);

    // A system colour is resolved; 32-bit pixels get alpha 0 as drawings of the device do.
    TBitmap argb = test::MakeTrueColorBitmap(
        5, 5, TPixelFormat::pf32bit, [](int, int) { return 0u; }, 0xFF);
    DrawChevron(argb, cdUp, 0, 0, 0xFF00000F, 1);
    EXPECT_EQ(GetPixelColor(argb, 2, 0), 0xF0F0F0u);
    EXPECT_EQ(GetPixelAlpha(argb, 2, 0), 0);
    EXPECT_EQ(GetPixelAlpha(argb, 0, 0), 0xFF);
}

} // namespace
} // namespace velmora

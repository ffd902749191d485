#include "colors/color_lookup.h"
#include "colors/color_reduction.h"
#include "icon_test_files.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace velmora

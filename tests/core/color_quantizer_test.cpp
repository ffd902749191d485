#include "colors/color_lookup.h"
#include "colors/color_reduction.h"
#include "icon_test_files.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace velmora
{
namespace
{

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

} // namespace
} // namespace velmora

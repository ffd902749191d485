#include "colors/chevron.h"
#include "icon_test_files.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

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

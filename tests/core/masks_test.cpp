#include "colors/bitmap_mask.h"
#include "icon_test_files.h"

#include <gtest/gtest.h>
#include <limits>

namespace velmora
{
namespace
{

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

} // namespace
} // namespace velmora

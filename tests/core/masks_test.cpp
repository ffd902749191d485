#include "color_test_bitmaps.h"
#include "colors/bitmap_mask.h"
#include "support/error.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace velmora
{
namespace
{

using test::MakeSolidBitmap;
using test::MakeTrueColorBitmap;

TEST(MasksTest, AlphaIsTheMaskRedScaledAndRoundedHalfToEven)
{
    struct Row {
        uint8_t maskRed;
        int percentage;
        uint8_t alpha;
    };
    const Row rows[] = {
        { 255, 100, 255 },
        { 255, 50, 128 }, // 127.5 goes to the even 128
        { 1, 50, 0 }, // 0.5 goes to the even 0
        { 3, 50, 2 }, // 1.5 goes to 2
        { 5, 50, 2 }, // 2.5 goes to 2
        { 200, 0, 0 },
        { 0, 100, 0 },
        { 128, 100, 128 },
        { 255, 200, 255 }, // held to a byte, not wrapped
        { 255, -50, 0 },
    };
    const TBitmap colour = MakeSolidBitmap(1, 1, 0x123456);
    for (const Row& row : rows) {
        const TBitmap mask = MakeSolidBitmap(1, 1, RGB(row.maskRed, 7, 9));
        auto result = AddMaskToBitmap32(colour, &mask, row.percentage);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->ScanLine(0)[3], row.alpha)
            << int { row.maskRed } << " at " << row.percentage << "%";
    }
}

TEST(MasksTest, FactorIsTakenInExtendedPrecision)
{
    if constexpr (std::numeric_limits<long double>::digits != 64)
        GTEST_SKIP() << "long double is not the 80-bit extended type here";
    // Products that fall on different sides of a half in double and in extended precision.
    const TBitmap colour = MakeSolidBitmap(1, 1, 0);
    const TBitmap mask15 = MakeSolidBitmap(1, 1, RGB(190, 0, 0));
    EXPECT_EQ(AddMaskToBitmap32(colour, &mask15, 15)->ScanLine(0)[3], 29);
    const TBitmap mask7 = MakeSolidBitmap(1, 1, RGB(150, 0, 0));
    EXPECT_EQ(AddMaskToBitmap32(colour, &mask7, 7)->ScanLine(0)[3], 10);
}

TEST(MasksTest, ColoursComeFromTheColourBitmapOverTheMaskSize)
{
    const TBitmap colour = MakeTrueColorBitmap(5, 4, TPixelFormat::pf24bit, [](int x, int y) {
        return RGB(static_cast<uint8_t>(x * 40), static_cast<uint8_t>(y * 50), 99);
    });
    const TBitmap mask = MakeTrueColorBitmap(3, 2, TPixelFormat::pf24bit,
        [](int x, int y) { return RGB(static_cast<uint8_t>(100 * y + x), 255, 255); });
    auto result = AddMaskToBitmap32(colour, &mask, 100);
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(result->PixelFormat(), TPixelFormat::pf32bit);
    ASSERT_EQ(result->Width(), 3);
    ASSERT_EQ(result->Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(test::TrueColorAt(*result, x, y), test::TrueColorAt(colour, x, y));
            EXPECT_EQ(result->ScanLine(y)[x * 4 + 3], 100 * y + x);
        }
}

TEST(MasksTest, MissingEmptyOrNon24BitMaskGivesNone)
{
    const TBitmap colour = MakeSolidBitmap(4, 4, 0xFFFFFF);
    const TBitmap empty;
    const TBitmap zeroWide(0, 4, TPixelFormat::pf24bit);
    const TBitmap mask32(4, 4, TPixelFormat::pf32bit);
    const TBitmap mask8(4, 4, TPixelFormat::pf8bit);
    EXPECT_EQ(AddMaskToBitmap32(colour, nullptr, 100), nullptr);
    for (const TBitmap* mask : { &empty, &zeroWide, &mask32, &mask8 })
        EXPECT_EQ(AddMaskToBitmap32(colour, mask, 100), nullptr);
}

TEST(MasksTest, ColourBitmapThatDoesNotCoverTheMaskIsRefused)
{
    const TBitmap mask = MakeSolidBitmap(4, 3, 0xFFFFFF);
    const TBitmap narrow = MakeSolidBitmap(3, 3, 0);
    const TBitmap low = MakeSolidBitmap(4, 2, 0);
    const TBitmap wide32
        = MakeTrueColorBitmap(8, 8, TPixelFormat::pf32bit, [](int, int) { return 0u; });
    struct Row {
        const TBitmap* colour;
        std::string text;
    };
    const Row rows[] = {
        { &narrow, "3 x 3 pixels, 24 bits per pixel" },
        { &low, "4 x 2 pixels, 24 bits per pixel" },
        { &wide32, "8 x 8 pixels, 32 bits per pixel" },
    };
    for (const Row& row : rows) {
        try {
            AddMaskToBitmap32(*row.colour, &mask, 100);
            ADD_FAILURE() << "no error for " << row.text;
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()),
                "AddMaskToBitmap32 failed.\nThe colour bitmap (" + row.text
                    + ") does not cover its mask (4 x 3 pixels) as a 24-bit bitmap.");
        }
    }
}

} // namespace
} // namespace velmora

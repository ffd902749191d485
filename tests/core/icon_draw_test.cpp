#include "graphics/icon_draw.h"
#include "icon_test_files.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using test::PixelAt;
using test::TBgra;

TBitmap Filled(int w, int h, TBgra v)
{
    auto colour = [&](int, int) { return RGB(v[2], v[1], v[0]); };
    return test::MakeTrueColorBitmap(w, h, TPixelFormat::pf32bit, colour, v[3]);
}

// An image whose pixel (x, y) has the colour (x, y, 0) with the given alpha: easy to trace.
TIconImage Traceable(int w, int h, uint8_t alpha, bool hasAlpha)
{
    TIconImage image { Filled(w, h, { 0, 0, 0, alpha }), std::vector<uint8_t>(size_t(w * h)),
        hasAlpha, hasAlpha ? 32 : 24 };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            image.Pixels.ScanLine(y)[x * 4] = uint8_t(x);
            image.Pixels.ScanLine(y)[x * 4 + 1] = uint8_t(y);
        }
    return image;
}

TEST(IconDrawTest, MaskAndXorCombineAsTheAndThenXorRasterOperations)
{
    // Columns: mask 0 colour red; mask 1 black (transparent); mask 1 white (inverts);
    // mask 1 a colour (XORs it in).
    test::TImageRecipe recipe { 4, 1, 24, BI_RGB, {}, {}, 0,
        [](int x, int) {
            return std::array<uint32_t, 4> { 0xFF0000, 0, 0xFFFFFF, 0x0000F0 }[size_t(x)];
        },
        [](int x, int) { return x != 0; } };
    TIcon icon;
    icon.LoadFromStream(test::MakeIconFile({ { test::BuildImage(recipe) } }));
    TBitmap dest = Filled(4, 1, { 0x0F, 0x80, 0x33, 77 });
    DrawIcon(dest, 0, 0, 4, 1, icon);
    EXPECT_EQ(PixelAt(dest, 0, 0), (TBgra { 0, 0, 0xFF, 255 }));
    EXPECT_EQ(PixelAt(dest, 1, 0), (TBgra { 0x0F, 0x80, 0x33, 77 }));
    EXPECT_EQ(PixelAt(dest, 2, 0), (TBgra { 0xF0, 0x7F, 0xCC, 77 }));
    EXPECT_EQ(PixelAt(dest, 3, 0), (TBgra { 0xFF, 0x80, 0x33, 77 }));
}

TEST(IconDrawTest, AlphaBlendsRoundedAndAccumulatesAlpha)
{
    // Black source over 200: (0 * a + 200 * (255 - a) + 127) / 255.
    const std::array<TBgra, 3> cases[] = {
        // source alpha; destination; expected
        { { { 0 }, { 200, 200, 200, 9 }, { 200, 200, 200, 9 } } },
        { { { 255 }, { 200, 200, 200, 9 }, { 0, 0, 0, 255 } } },
        { { { 100 }, { 200, 200, 200, 0 }, { 122, 122, 122, 100 } } },
        { { { 100 }, { 200, 200, 200, 255 }, { 122, 122, 122, 255 } } },
        { { { 1 }, { 255, 255, 255, 0 }, { 254, 254, 254, 1 } } },
    };
    for (const auto& [alpha, before, after] : cases) {
        TBitmap dest = Filled(1, 1, before);
        DrawIcon(dest, 0, 0, 1, 1, Traceable(1, 1, alpha[0], true));
        EXPECT_EQ(PixelAt(dest, 0, 0), after) << int(alpha[0]);
    }
}

TEST(IconDrawTest, StretchesByNearestNeighbourAndClips)
{
    struct TCase {
        const char* Name;
        int SrcW, SrcH, X, Y, W, H;
    };
    const TCase cases[] = {
        { "3 to 5 wide, halved high", 3, 4, 0, 0, 5, 2 },
        { "doubled", 2, 2, 1, 1, 4, 4 },
        { "clipped on the top left", 4, 4, -3, -2, 8, 8 },
        { "clipped on the bottom right", 4, 4, 4, 5, 8, 8 },
        { "nothing for negative height", 4, 4, 0, 0, 4, -1 },
        { "far outside the int range", 4, 4, 2147483600, 2147483600, 1000, 1000 },
    };
    const TBgra background { 1, 2, 3, 4 };
    for (const TCase& c : cases) {
        for (bool alpha : { true, false }) {
            SCOPED_TRACE(::testing::Message() << c.Name << (alpha ? ", alpha" : ", mask"));
            TBitmap dest = Filled(8, 8, background);
            DrawIcon(dest, c.X, c.Y, c.W, c.H, Traceable(c.SrcW, c.SrcH, 255, alpha));
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    int64_t dx = int64_t { x } - c.X, dy = int64_t { y } - c.Y;
                    TBgra expected = background;
                    if (dx >= 0 && dy >= 0 && dx < c.W && dy < c.H)
                        expected
                            = { uint8_t(dx * c.SrcW / c.W), uint8_t(dy * c.SrcH / c.H), 0, 255 };
                    ASSERT_EQ(PixelAt(dest, x, y), expected) << "at " << x << "," << y;
                }
        }
    }
    TBitmap dest24(4, 4, TPixelFormat::pf24bit), dest32(4, 4, TPixelFormat::pf32bit);
    EXPECT_THROW(DrawIcon(dest24, 0, 0, 4, 4, Traceable(2, 2, 255, true)), EInvalidGraphic);
    TIconImage noMask = Traceable(2, 2, 255, false);
    noMask.Mask.clear();
    EXPECT_THROW(DrawIcon(dest32, 0, 0, 4, 4, noMask), EInvalidGraphic);
}

} // namespace
} // namespace velmora

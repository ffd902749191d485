#include "graphics/icon_draw.h"
#include "icon_test_images.h"
#include "support/error.h"

#include <array>
#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using TBgra = std::array<uint8_t, 4>;

TBgra PixelAt(const TBitmap& bitmap, int x, int y)
{
    const uint8_t* p = bitmap.ScanLine(y) + x * 4;
    return { p[0], p[1], p[2], p[3] };
}

void SetPixel(TBitmap& bitmap, int x, int y, TBgra value)
{
    uint8_t* p = bitmap.ScanLine(y) + x * 4;
    for (int i = 0; i < 4; ++i)
        p[i] = value[static_cast<size_t>(i)];
}

TBitmap Filled(int w, int h, TBgra value)
{
    TBitmap bitmap(w, h, TPixelFormat::pf32bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            SetPixel(bitmap, x, y, value);
    return bitmap;
}

// An image whose pixel (x, y) has the colour (x, y, 0) with the given alpha: easy to trace.
TIconImage Traceable(int w, int h, uint8_t alpha, bool hasAlpha)
{
    TIconImage image;
    image.Pixels = TBitmap(w, h, TPixelFormat::pf32bit);
    image.Mask.assign(static_cast<size_t>(w * h), 0);
    image.HasAlpha = hasAlpha;
    image.BitCount = hasAlpha ? 32 : 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            SetPixel(image.Pixels, x, y, { uint8_t(x), uint8_t(y), 0, alpha });
    return image;
}

TEST(IconDrawTest, MaskAndXorCombineAsTheAndThenXorRasterOperations)
{
    // Columns: mask 0 colour red; mask 1 black (transparent); mask 1 white (inverts);
    // mask 1 a colour (XORs it in).
    test_images::TImageRecipe recipe { 4, 1, 24, BI_RGB, {}, {}, 0,
        [](int x, int) {
            return std::array<uint32_t, 4> { 0xFF0000, 0, 0xFFFFFF, 0x0000F0 }[size_t(x)];
        },
        [](int x, int) { return x != 0; } };
    TIcon icon;
    icon.LoadFromStream(test_images::WrapAsIcon(test_images::BuildImage(recipe)));
    TBitmap dest = Filled(4, 1, { 0x0F, 0x80, 0x33, 77 });
    DrawIcon(dest, 0, 0, 4, 1, icon);
    EXPECT_EQ(PixelAt(dest, 0, 0), (TBgra { 0, 0, 0xFF, 255 }));
    EXPECT_EQ(PixelAt(dest, 1, 0), (TBgra { 0x0F, 0x80, 0x33, 77 }));
    EXPECT_EQ(PixelAt(dest, 2, 0), (TBgra { 0xF0, 0x7F, 0xCC, 77 }));
    EXPECT_EQ(PixelAt(dest, 3, 0), (TBgra { 0xFF, 0x80, 0x33, 77 }));
}

TEST(IconDrawTest, AlphaBlendsRoundedAndAccumulatesAlpha)
{
    struct TCase {
        uint8_t Alpha;
        TBgra Dest;
        TBgra Expected;
    };
    // Black source over 200: (0 * a + 200 * (255 - a) + 127) / 255.
    const TCase cases[] = {
        { 0, { 200, 200, 200, 9 }, { 200, 200, 200, 9 } },
        { 255, { 200, 200, 200, 9 }, { 0, 0, 0, 255 } },
        { 100, { 200, 200, 200, 0 }, { 122, 122, 122, 100 } },
        { 100, { 200, 200, 200, 255 }, { 122, 122, 122, 255 } },
        { 1, { 255, 255, 255, 0 }, { 254, 254, 254, 1 } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Alpha));
        TIconImage image = Traceable(1, 1, c.Alpha, true);
        TBitmap dest = Filled(1, 1, c.Dest);
        DrawIcon(dest, 0, 0, 1, 1, image);
        EXPECT_EQ(PixelAt(dest, 0, 0), c.Expected);
    }
}

TEST(IconDrawTest, StretchesByNearestNeighbourAndClips)
{
    struct TCase {
        const char* Name;
        int SrcW, SrcH, X, Y, W, H;
    };
    const TCase cases[] = {
        { "same size", 3, 2, 0, 0, 3, 2 },
        { "doubled", 2, 2, 1, 1, 4, 4 },
        { "3 to 5 wide, halved high", 3, 4, 0, 0, 5, 2 },
        { "shrunk", 4, 4, 2, 0, 2, 2 },
        { "clipped on the top left", 4, 4, -3, -2, 8, 8 },
        { "clipped on the bottom right", 4, 4, 4, 5, 8, 8 },
        { "nothing for width 0", 4, 4, 0, 0, 0, 4 },
        { "nothing for negative height", 4, 4, 0, 0, 4, -1 },
        { "entirely outside", 4, 4, 20, 0, 4, 4 },
        { "far outside the int range", 4, 4, 2147483600, 2147483600, 1000, 1000 },
    };
    const TBgra background { 1, 2, 3, 4 };
    for (const TCase& c : cases) {
        for (bool alpha : { true, false }) {
            SCOPED_TRACE(::testing::Message() << c.Name << (alpha ? ", alpha" : ", mask"));
            TIconImage image = Traceable(c.SrcW, c.SrcH, 255, alpha);
            TBitmap dest = Filled(8, 8, background);
            DrawIcon(dest, c.X, c.Y, c.W, c.H, image);
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
}

TEST(IconDrawTest, RefusesDestinationsOtherThan32Bits)
{
    TBitmap dest(4, 4, TPixelFormat::pf24bit);
    EXPECT_THROW(DrawIcon(dest, 0, 0, 4, 4, Traceable(2, 2, 255, true)), EInvalidGraphic);
    TBitmap dest32(4, 4, TPixelFormat::pf32bit);
    TIconImage noMask = Traceable(2, 2, 255, false);
    noMask.Mask.clear();
    EXPECT_THROW(DrawIcon(dest32, 0, 0, 4, 4, noMask), EInvalidGraphic);
}

} // namespace
} // namespace velmora

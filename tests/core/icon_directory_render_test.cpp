#include "colors/pixel_format_codes.h"
#include "fakes/fake_clipboard.h"
#include "graphics/bitmap_ops.h"
#include "graphics/bmp_codec.h"
#include "graphics/icon_draw.h"
#include "icon_test_files.h"
#include "icons/icon_directory.h"
#include "icons/icon_paint.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;
using enum TPixelFormat;

// Loads a document of one 32-bit image of w x h pixels whose pixels come from a function
// (colour, alpha), its entry claiming the given bit count.
void LoadOne(TIconDirectory& document, const TTempDir& dir, int w, int h, uint16_t bitCount,
    const std::function<std::pair<TColor, uint8_t>(int, int)>& pixel)
{
    TImageRecipe recipe { w, h, 32 };
    recipe.Pixel = [&](int x, int y) {
        auto [colour, alpha] = pixel(x, y);
        return BlueOf(colour) | (GreenOf(colour) << 8) | (RedOf(colour) << 16)
            | (uint32_t { alpha } << 24);
    };
    WriteFile(dir.Path("one.ico"),
        MakeIconFile({ { BuildImage(recipe), uint8_t(w), uint8_t(h), bitCount } }));
    ASSERT_TRUE(document.LoadFromFile(dir.Path("one.ico")));
}

TEST(IconDirectoryRender, EightBitImagesChooseTheirReduction)
{
    struct Row {
        const char* name;
        TColor colour, back;
        int importantColors;
        std::optional<TRGBQuad> paletteEntry1;
    };
    const Row rows[] = {
        { "only greys, background included", RGB(90, 90, 90), RGB(7, 7, 7), 256,
            TRGBQuad { 1, 1, 1, 0 } },
        { "web-safe colours", RGB(51, 0, 204), RGB(255, 255, 255), 216, TRGBQuad { 51, 0, 0, 0 } },
        { "other colours", RGB(50, 0, 204), RGB(255, 255, 255), 256, std::nullopt },
    };
    TTempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TIconDirectory document;
        LoadOne(document, dir, 8, 8, 8, [&](int x, int) {
            return std::pair { row.colour, uint8_t(x < 4 ? 255 : 0) };
        });
        TBitmap rendered = document.RenderImageToBitmap(0, row.back);
        ASSERT_EQ(rendered.PixelFormat(), pf8bit);
        EXPECT_EQ(rendered.ImportantColors(), row.importantColors);
        EXPECT_EQ(GetPixelColor(rendered, 1, 1), row.colour);
        EXPECT_EQ(GetPixelColor(rendered, 6, 1), row.back);
        // The written file says how many palette entries the picture uses.
        ASSERT_EQ(document.ExportImageToBitmapFile(dir.Path("x.bmp"), 0, row.back), 0);
        const Bytes file = ReadFile(dir.Path("x.bmp"));
        EXPECT_EQ(ReadU32(file.data() + 14 + 32), 256u); // biClrUsed
        EXPECT_EQ(ReadU32(file.data() + 14 + 36),
            static_cast<uint32_t>(row.importantColors)); // biClrImportant
        EXPECT_EQ(ReadBmp(file), rendered); // and reads back as the same bitmap
        EXPECT_EQ(rendered.Palette()[1], row.paletteEntry1.value_or(rendered.Palette()[1]));
    }
}

TEST(IconDirectoryRender, ExportsAtTheImagesOwnDepth)
{
    // The bit count in the entry and the format written; without a sound one, the image's own.
    const std::pair<uint16_t, TPixelFormat> rows[] = { { 1, pf1bit }, { 4, pf4bit }, { 8, pf8bit },
        { 16, pf16bit }, { 24, pf24bit }, { 32, pf32bit }, { 0, pf32bit }, { 7, pf32bit } };
    TTempDir dir;
    for (auto [bitCount, format] : rows) {
        SCOPED_TRACE(bitCount);
        TIconDirectory document;
        LoadOne(document, dir, 16, 16, bitCount, [](int x, int y) {
            return std::pair { RGB(uint8_t(16 * x), uint8_t(16 * y), 0), uint8_t(255) };
        });
        ASSERT_EQ(document.ExportImageToBitmapFile(dir.Path("out.bmp"), 0, RGB(255, 0, 255)), 0);
        TBitmap read = LoadBitmapFromFile(dir.Path("out.bmp"));
        EXPECT_EQ(read.PixelFormat(), format);
        EXPECT_EQ(read.Width(), 16);
        EXPECT_EQ(GetPixelColor(read, 0, 0), RGB(0, 0, 0));
    }
}

TEST(IconDirectoryRender, TransparentPixelsTakeTheBackgroundAnd256MeansSize256)
{
    TTempDir dir;
    TIconDirectory document;
    LoadOne(document, dir, 256, 256, 24, [](int x, int) {
        return std::pair { RGB(10, 20, 30), uint8_t(x == 0 ? 0 : 255) };
    });
    TBitmap rendered = document.RenderImageToBitmap(0, RGB(255, 0, 255));
    EXPECT_EQ(rendered.Width(), 256);
    EXPECT_EQ(rendered.PixelFormat(), pf24bit);
    EXPECT_EQ(GetPixelColor(rendered, 0, 10), RGB(255, 0, 255)); // the transparent column
    EXPECT_EQ(GetPixelColor(rendered, 1, 10), RGB(10, 20, 30));
    // No colour at all renders over black.
    EXPECT_EQ(GetPixelColor(document.RenderImageToBitmap(0, ColorNone), 0, 10), RGB(0, 0, 0));

    TFakeClipboard clipboard;
    EXPECT_THROW(document.CopyImageToClipboard(0, ColorNone), Exception);
    document.SetClipboard(&clipboard);
    EXPECT_EQ(document.CopyImageToClipboard(0, RGB(1, 2, 3)), 0);
    ASSERT_TRUE(clipboard.HasBitmap());
    EXPECT_EQ(GetPixelColor(*clipboard.GetBitmap(), 0, 0), RGB(1, 2, 3));
}

TEST(PaintIcon, BlendsTheImagesOwnColoursByAlpha)
{
    SetScreenColorDepth(32);
    TIcon icon;
    {
        TIconDirectory document;
        TTempDir dir;
        // Column 0 black at alpha 100, column 1 alpha 0, column 2 opaque red, column 3 a
        // half-transparent (200, 100, 50).
        const std::pair<TColor, uint8_t> columns[] = { { RGB(0, 0, 0), 100 }, { RGB(9, 9, 9), 0 },
            { RGB(255, 0, 0), 255 }, { RGB(200, 100, 50), 128 } };
        LoadOne(document, dir, 4, 4, 32, [&](int x, int) { return columns[x]; });
        icon = *document.GetImage(0).Icon;
    }
    TBitmap canvas(8, 8, pf32bit);
    FillBitmap(canvas, RGB(200, 200, 200));
    PaintIconInRect(&canvas, TRect { 2, 2, 6, 6 }, icon, ColorNone, 32);
    EXPECT_EQ(GetPixelColor(canvas, 2, 3), RGB(121, 121, 121)); // 200 x 155 / 255, truncated
    EXPECT_EQ(GetPixelColor(canvas, 3, 3), RGB(200, 200, 200));
    EXPECT_EQ(GetPixelColor(canvas, 4, 3), RGB(255, 0, 0));
    // 200 x 128/255 + 200 x 127/255 = 200; 100 x 128/255 + 200 x 127/255 = 149.8; 50 ... = 124.7
    EXPECT_EQ(GetPixelColor(canvas, 5, 3), RGB(200, 149, 124));
    EXPECT_EQ(GetPixelColor(canvas, 1, 1), RGB(200, 200, 200)); // outside the rectangle

    // Over a background colour instead of the canvas.
    PaintIcon(&canvas, 0, 0, RGB(0, 0, 0), 0, 0, 32, icon);
    EXPECT_EQ(GetPixelColor(canvas, 3, 0), RGB(100, 50, 25));

    TIcon broken;
    broken.LoadFromStream(Bytes(30, 0));
    EXPECT_EQ(ErrorOf<EIconPaint>([&] {
        PaintIcon(&canvas, 0, 0, ColorNone, 0, 0, 8, broken);
    }).rfind("PaintIcon failed.\r\n", 0),
        0u);
}

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
    auto colour = [](int x, int y) { return RGB(0, uint8_t(y), uint8_t(x)); };
    return { test::MakeTrueColorBitmap(w, h, TPixelFormat::pf32bit, colour, alpha),
        std::vector<uint8_t>(size_t(w * h)), hasAlpha, hasAlpha ? 32 : 24 };
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

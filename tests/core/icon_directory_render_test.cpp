#include "colors/pixel_format_codes.h"
#include "fakes/fake_clipboard.h"
#include "graphics/bitmap_ops.h"
#include "graphics/bitmap_pixels.h"
#include "graphics/bmp_codec.h"
#include "icon_test_files.h"
#include "icons/icon_directory.h"
#include "icons/icon_paint.h"
#include "support/error.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

// An icon image of w x h pixels at 32 bits whose pixels come from a function (colour, alpha).
Bytes Image32(int w, int h, const std::function<std::pair<TColor, uint8_t>(int, int)>& pixel)
{
    TImageRecipe recipe { w, h, 32 };
    recipe.Pixel = [&](int x, int y) {
        auto [colour, alpha] = pixel(x, y);
        return BlueOf(colour) | (GreenOf(colour) << 8) | (RedOf(colour) << 16)
            | (uint32_t { alpha } << 24);
    };
    return BuildImage(recipe);
}

// A document of one image, its entry claiming the given bit count.
void LoadOne(
    TIconDirectory& document, const TTempDir& dir, Bytes data, int w, int h, uint16_t bitCount)
{
    TTestImage image { std::move(data), static_cast<uint8_t>(w), static_cast<uint8_t>(h),
        bitCount };
    WriteFile(dir.Path("one.ico"), MakeIconFile({ image }));
    ASSERT_TRUE(document.LoadFromFile(dir.Path("one.ico")));
}

TEST(IconDirectoryRender, EightBitImagesChooseTheirReduction)
{
    struct Row {
        const char* name;
        TColor colour;
        TColor back;
        int importantColors;
        TRGBQuad paletteEntry1;
    };
    const Row rows[] = {
        { "only greys, background included", RGB(90, 90, 90), RGB(7, 7, 7), 256, { 1, 1, 1, 0 } },
        { "web-safe colours", RGB(51, 0, 204), RGB(255, 255, 255), 216, { 51, 0, 0, 0 } },
        { "other colours", RGB(50, 0, 204), RGB(255, 255, 255), 256, {} },
    };
    TTempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TIconDirectory document;
        LoadOne(document, dir,
            Image32(8, 8,
                [&](int x, int) {
                    return std::pair { row.colour, uint8_t(x < 4 ? 255 : 0) };
                }),
            8, 8, 8);
        TBitmap rendered = document.RenderImageToBitmap(0, row.back);
        ASSERT_EQ(rendered.PixelFormat(), TPixelFormat::pf8bit);
        EXPECT_EQ(rendered.ImportantColors(), row.importantColors);
        ASSERT_EQ(rendered.Palette().size(), 256u);
        EXPECT_EQ(GetPixelColor(rendered, 1, 1), row.colour);
        EXPECT_EQ(GetPixelColor(rendered, 6, 1), row.back);
        // The written file says how many palette entries the picture uses.
        ASSERT_EQ(document.ExportImageToBitmapFile(dir.Path("x.bmp"), 0, row.back), 0);
        const Bytes file = ReadFile(dir.Path("x.bmp"));
        EXPECT_EQ(ReadU32(file.data() + 14 + 32), 256u); // biClrUsed
        EXPECT_EQ(ReadU32(file.data() + 14 + 36),
            static_cast<uint32_t>(row.importantColors)); // biClrImportant
        EXPECT_EQ(ReadBmp(file), rendered); // and reads back as the same bitmap
        if (row.importantColors == 216 || row.colour == RGB(90, 90, 90)) {
            EXPECT_EQ(rendered.Palette()[1], row.paletteEntry1);
        }
    }
}

TEST(IconDirectoryRender, ExportsAtTheImagesOwnDepth)
{
    struct Row {
        uint16_t entryBitCount;
        TPixelFormat format;
    };
    const Row rows[] = {
        { 1, TPixelFormat::pf1bit },
        { 4, TPixelFormat::pf4bit },
        { 8, TPixelFormat::pf8bit },
        { 16, TPixelFormat::pf16bit },
        { 24, TPixelFormat::pf24bit },
        { 32, TPixelFormat::pf32bit },
        { 0, TPixelFormat::pf32bit }, // no bit count in the entry: the image's own
        { 7, TPixelFormat::pf32bit },
    };
    TTempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entryBitCount);
        TIconDirectory document;
        LoadOne(document, dir,
            Image32(16, 16,
                [](int x, int y) {
                    return std::pair { RGB(uint8_t(16 * x), uint8_t(16 * y), 0), uint8_t(255) };
                }),
            16, 16, row.entryBitCount);
        ASSERT_EQ(document.ExportImageToBitmapFile(dir.Path("out.bmp"), 0, RGB(255, 0, 255)), 0);
        TBitmap read = LoadBitmapFromFile(dir.Path("out.bmp"));
        EXPECT_EQ(read.PixelFormat(), row.format);
        EXPECT_EQ(read.Width(), 16);
        if (row.format != TPixelFormat::pf1bit && row.format != TPixelFormat::pf4bit) {
            EXPECT_EQ(GetPixelColor(read, 0, 0), RGB(0, 0, 0));
        }
    }
}

TEST(IconDirectoryRender, TransparentPixelsTakeTheBackgroundAnd256MeansSize256)
{
    TTempDir dir;
    TIconDirectory document;
    LoadOne(document, dir,
        Image32(256, 256,
            [](int x, int) {
                return std::pair { RGB(10, 20, 30), uint8_t(x == 0 ? 0 : 255) };
            }),
        0, 0, 24);
    TBitmap rendered = document.RenderImageToBitmap(0, RGB(255, 0, 255));
    EXPECT_EQ(rendered.Width(), 256);
    EXPECT_EQ(rendered.PixelFormat(), TPixelFormat::pf24bit);
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
        LoadOne(document, dir,
            Image32(4, 4,
                [](int x, int) -> std::pair<TColor, uint8_t> {
                    switch (x) {
                    case 0:
                        return { RGB(0, 0, 0), 100 };
                    case 1:
                        return { RGB(9, 9, 9), 0 };
                    case 2:
                        return { RGB(255, 0, 0), 255 };
                    default:
                        return { RGB(200, 100, 50), 128 };
                    }
                }),
            4, 4, 32);
        icon = *document.GetImage(0).Icon;
    }
    TBitmap canvas(8, 8, TPixelFormat::pf32bit);
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
    EXPECT_NO_THROW(PaintIcon(nullptr, 0, 0, ColorNone, 0, 0, 32, icon));

    // On a 16-bit screen the image is drawn, not blended by this code.
    SetScreenColorDepth(16);
    FillBitmap(canvas, RGB(10, 10, 10));
    PaintIcon(&canvas, 0, 0, RGB(50, 60, 70), 8, 8, 32, icon);
    EXPECT_EQ(GetPixelColor(canvas, 2, 2), RGB(50, 60, 70)); // alpha 0 keeps the background
    EXPECT_EQ(GetPixelColor(canvas, 4, 4), RGB(255, 0, 0)); // stretched x2
    SetScreenColorDepth(32);

    TIcon broken;
    broken.LoadFromStream(Bytes(30, 0));
    try {
        PaintIcon(&canvas, 0, 0, ColorNone, 0, 0, 8, broken);
        FAIL();
    } catch (const EIconPaint& e) {
        EXPECT_EQ(std::string(e.what()).rfind("PaintIcon failed.\r\n", 0), 0u);
    }
}

} // namespace
} // namespace velmora

#include "graphics/icon_decoder.h"
#include "icon_test_files.h"
#include "icons/icon_directory.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

// A diagonal mask pattern, so rows and columns both matter.
bool DiagonalMask(int x, int y)
{
    return (x + y) % 3 == 0;
}

// Palette entry i of a ramp palette of given entries; black past them.
TBgra RampColour(uint32_t i, uint32_t given = 256)
{
    return i < given ? TBgra { uint8_t(255 - i), uint8_t(i / 2 + 7), uint8_t(i), 0 } : TBgra {};
}

std::vector<TRGBQuad> RampPalette(uint32_t count)
{
    std::vector<TRGBQuad> palette(count);
    for (uint32_t i = 0; i < count; ++i)
        palette[i] = { RampColour(i)[0], RampColour(i)[1], RampColour(i)[2], 0 };
    return palette;
}

TEST(IconDecoderTest, DecodesEveryDepthWithItsMask)
{
    auto scale
        = [](uint32_t v, uint32_t max) { return uint8_t(((v & max) * 255 + max / 2) / max); };
    auto ramp = [](uint32_t v) { return RampColour(v); };
    auto bytes = [](uint32_t v) {
        return TBgra { uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24) };
    };
    struct TDepthCase {
        TImageRecipe Recipe; // all but the pixels
        std::function<TBgra(uint32_t)> Expected; // of the stored value; alpha only if HasAlpha
        bool HasAlpha = false;
    };
    const TDepthCase cases[] = {
        { { 5, 3, 1, BI_RGB, {}, RampPalette(2) }, ramp },
        { { 5, 3, 4, BI_RGB, {}, RampPalette(16) }, ramp },
        // biClrUsed far above 256 is taken as 256; indices past the given entries are black.
        { { 5, 3, 8, BI_RGB, {}, RampPalette(256), 0xFFFFFFFF }, ramp },
        { { 5, 3, 8, BI_RGB, {}, RampPalette(128), 128 },
            [](uint32_t v) { return RampColour(v, 128); } },
        { { 5, 3, 16 },
            [&](uint32_t v) {
                return TBgra { scale(v, 31), scale(v >> 5, 31), scale(v >> 10, 31), 0 };
            } },
        { { 5, 3, 16, BI_BITFIELDS, { 0xF800, 0x07E0, 0x001F } },
            [&](uint32_t v) {
                return TBgra { scale(v, 31), scale(v >> 5, 63), scale(v >> 11, 31), 0 };
            } },
        { { 5, 3, 24 }, bytes },
        { { 5, 3, 32 }, bytes, true },
        { { 5, 3, 32, BI_BITFIELDS, { 0xFF0000, 0xFF00, 0xFF } }, bytes, true },
    };
    for (TDepthCase c : cases) {
        SCOPED_TRACE(::testing::Message()
            << c.Recipe.BitCount << " bits, compression " << c.Recipe.Compression);
        const uint32_t valueMask = c.Recipe.BitCount == 32 ? ~0u : (1u << c.Recipe.BitCount) - 1;
        c.Recipe.Pixel = [=](int x, int y) {
            return (uint32_t(x) * 2654435761u ^ uint32_t(y + 1) * 0x5BD1E995u) & valueMask;
        };
        c.Recipe.MaskBit = DiagonalMask;
        TIconImage image = DecodeIconImage(BuildImage(c.Recipe));
        ASSERT_EQ(std::tuple(image.Width(), image.Height(), image.BitCount),
            std::tuple(5, 3, c.Recipe.BitCount));
        EXPECT_EQ(image.HasAlpha, c.HasAlpha);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                TBgra expected = c.Expected(c.Recipe.Pixel(x, y));
                if (!c.HasAlpha)
                    expected[3] = DiagonalMask(x, y) ? 0 : 255;
                EXPECT_EQ(PixelAt(image.Pixels, x, y), expected) << x << "," << y;
                EXPECT_EQ(image.MaskAt(x, y), DiagonalMask(x, y));
            }
    }
}

TEST(IconDecoderTest, ThirtyTwoBitTransparencyFollowsAlphaOrMask)
{
    auto colour = [](int x, int) { return static_cast<uint32_t>(0x00102030 + x); };
    TImageRecipe recipe { 4, 2, 32, BI_RGB, {}, {}, 0, colour, DiagonalMask };
    // All alpha bytes 0: the mask decides, opaque where it is 0.
    TIconImage fromMask = DecodeIconImage(BuildImage(recipe));
    EXPECT_TRUE(fromMask.HasAlpha);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(PixelAt(fromMask.Pixels, x, y),
                (TBgra { uint8_t(0x30 + x), 0x20, 0x10, uint8_t(DiagonalMask(x, y) ? 0 : 255) }));
    // Data that ends before the mask rows: the image's own alpha, a mask of 0.
    recipe.Pixel = [](int x, int) { return static_cast<uint32_t>((x * 80) << 24 | 0x00405060); };
    recipe.WithMask = false;
    TIconImage noMask = DecodeIconImage(BuildImage(recipe));
    EXPECT_EQ(PixelAt(noMask.Pixels, 2, 1), (TBgra { 0x60, 0x50, 0x40, 160 }));
    EXPECT_EQ(PixelAt(noMask.Pixels, 0, 0)[3], 0);
    EXPECT_FALSE(noMask.MaskAt(0, 0));
    // Without mask rows and without alpha every pixel is opaque.
    recipe.Pixel = colour;
    EXPECT_EQ(PixelAt(DecodeIconImage(BuildImage(recipe)).Pixels, 0, 0)[3], 255);
}

TEST(IconDecoderTest, RefusesHostileImagesAndIcons)
{
    const Bytes image = BuildImage({ 4, 4, 8, BI_RGB, {}, RampPalette(256) });
    const Bytes fields = BuildImage({ 4, 4, 16, BI_BITFIELDS, { 0xF800, 0x07E0, 0x001F } });
    const Bytes icon = MakeIconFile({ { image } });
    struct TCase {
        const char* Name;
        const Bytes& Base;
        std::vector<std::pair<size_t, uint32_t>> Writes; // 32-bit values at offsets
        size_t Cut = SIZE_MAX;
    };
    const TCase cases[] = {
        { "shorter than a header", image, {}, 39 },
        { "header size 12", image, { { 0, 12 } } },
        { "width 0", image, { { 4, 0 } } },
        { "negative width", image, { { 4, static_cast<uint32_t>(-4) } } },
        { "height of one row", image, { { 8, 1 } } },
        { "30000 x 30000 pixels", image, { { 4, 30000 }, { 8, 60000 } } },
        { "bit count 7", image, { { 14, 7 } } },
        { "RLE8 compression", image, { { 16, BI_RLE8 } } },
        { "bit-fields with 8 bits", image, { { 16, BI_BITFIELDS } } },
        { "palette past the data", image, {}, 40 + 512 },
        { "colour rows cut short", image, {}, 40 + 1024 + 8 },
        { "zero colour mask", fields, { { 44, 0 } } },
        { "split mask", fields, { { 40, 0xF100 }, { 44, 0x06E0 } } },
        { "mask wider than the pixel", fields, { { 40, 0x1F800 } } },
        { "icon header cut", icon, {}, 21 },
        { "icon reserved word 1", icon, { { 0, 0x00010001 } } },
        { "icon of no images", icon, { { 4, 0 } } },
        { "icon image size 0", icon, { { 14, 0 } } },
        { "icon image past the end", icon, { { 14, static_cast<uint32_t>(image.size() + 1) } } },
        { "icon image offset inside the header", icon, { { 18, 6 } } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Bytes bytes = c.Base;
        for (auto [offset, value] : c.Writes)
            WriteU32(bytes.data() + offset, value);
        bytes.resize(std::min(c.Cut, bytes.size()));
        TIcon bad;
        bad.LoadFromStream(bytes);
        EXPECT_THROW(&c.Base == &icon ? DecodeIcon(bad) : DecodeIconImage(bytes), EInvalidGraphic);
    }
    EXPECT_NO_THROW(DecodeIconImage(fields));
    // Sizes and depth come from the image, not from the directory.
    TIcon good;
    good.LoadFromStream(MakeIconFile({ { image, 16, 16, 24 } }));
    const TIconImage decoded = DecodeIcon(good);
    EXPECT_EQ(std::tuple(decoded.Width(), decoded.Height(), decoded.BitCount), std::tuple(4, 4, 8));
}

// Images whose mask rows are short (Pillow stores them without their padding): the colours
// decode, the missing mask bytes are opaque, and such icons extract and save unchanged.
TEST(IconShortMask, MissingMaskBytesAreOpaque)
{
    // Width, bit count, bytes of mask rows kept: rows without padding, none, a row cut inside.
    for (const auto& [width, bits, kept] : { std::tuple(16, 8, 32), std::tuple(24, 24, 72),
             std::tuple(48, 1, 288), std::tuple(48, 4, 0), std::tuple(16, 24, 61) }) {
        SCOPED_TRACE(testing::Message() << width << " pixels, " << bits << " bits");
        TImageRecipe recipe { width, width, bits };
        recipe.Palette.assign(bits <= 8 ? size_t { 1 } << bits : 0, TRGBQuad { 10, 20, 30, 0 });
        recipe.Pixel = [](int, int) { return 0x1E140Au; }; // the palette's colour at any depth
        recipe.MaskBit = [](int x, int) { return x == 0; }; // the left column transparent
        Bytes image = BuildImage(recipe);
        const int stride = (width + 31) / 32 * 4;
        image.resize(image.size() - static_cast<size_t>(stride * width - kept));
        const TIconImage decoded = DecodeIconImage(image);
        for (int y = 0; y < width; ++y) {
            const bool present = (width - 1 - y) * stride < kept; // rows are stored bottom-up
            EXPECT_EQ(PixelAt(decoded.Pixels, 0, y)[3], present ? 0 : 255) << y;
            EXPECT_EQ(PixelAt(decoded.Pixels, width - 1, y), (TBgra { 10, 20, 30, 255 })) << y;
        }
    }
}

TEST(IconShortMask, PillowIconsExtractAndSaveUnchanged)
{
    if (!HavePillow())
        GTEST_SKIP() << "Pillow is missing";
    TTempDir dir;
    const std::string make = "/usr/bin/python3 -c \"from PIL import Image\nfor mode in 'P', 'RGB': "
                             "Image.new('RGB', (48, 48), (200, 30, 60)).convert(mode).save('"
        + dir.Root().string() + "/' + mode + '.ico', sizes=[(16, 16), (24, 24), (48, 48)], "
        + "bitmap_format='bmp')\"";
    ASSERT_EQ(RunCommand(make), 0);
    for (const char* name : { "P.ico", "RGB.ico" }) {
        TIconDirectory document;
        ASSERT_TRUE(document.LoadFromFile(dir.Path(name)));
        ASSERT_EQ(document.Count(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(PixelAt(DecodeIcon(*document.GetImage(i).Icon).Pixels, 0, 0)[3], 255);
        ASSERT_TRUE(document.SaveToFile(dir.Path("saved.ico")));
        EXPECT_EQ(ReadFile(dir.Path("saved.ico")), ReadFile(dir.Path(name))) << name;
        EXPECT_EQ(RunCommand(std::string(VELMORA_CLI_PATH) + " extract " + dir.Path(name).string()
                      + " " + dir.Path("out").string() + " >/dev/null"),
            0);
    }
}

} // namespace
} // namespace velmora

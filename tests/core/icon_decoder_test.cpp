#include "graphics/icon_decoder.h"
#include "graphics/png_codec.h"
#include "icon_test_images.h"
#include "support/error.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <zlib.h>

namespace velmora
{
namespace
{

using test_images::BuildImage;
using test_images::TImageRecipe;
using test_images::WrapAsIcon;

using TBgra = std::array<uint8_t, 4>;

TBgra PixelAt(const TIconImage& image, int x, int y)
{
    const uint8_t* p = image.Pixels.ScanLine(y) + x * 4;
    return { p[0], p[1], p[2], p[3] };
}

uint8_t Scale5(uint32_t v)
{
    return static_cast<uint8_t>((v * 255 + 15) / 31);
}
uint8_t Scale6(uint32_t v)
{
    return static_cast<uint8_t>((v * 255 + 31) / 63);
}

// The mask used by the depth table: a diagonal pattern, so rows and columns both matter.
bool DiagonalMask(int x, int y)
{
    return (x + y) % 3 == 0;
}

std::vector<TRGBQuad> RampPalette(int count)
{
    std::vector<TRGBQuad> palette;
    for (int i = 0; i < count; ++i)
        palette.push_back({ static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2 + 7),
            static_cast<uint8_t>(i), 0 });
    return palette;
}

TBgra RampColour(int index, int given)
{
    if (index >= given)
        return { 0, 0, 0, 0 };
    return { static_cast<uint8_t>(255 - index), static_cast<uint8_t>(index / 2 + 7),
        static_cast<uint8_t>(index), 0 };
}

struct TDepthCase {
    const char* Name;
    TImageRecipe Recipe;
    std::function<TBgra(int, int)> Expected; // colour; alpha is checked separately
    bool HasAlpha;
};

TEST(IconDecoderTest, DecodesEveryDepthWithItsMask)
{
    auto index1 = [](int x, int y) { return static_cast<uint32_t>((x + y) % 2); };
    auto index4 = [](int x, int y) { return static_cast<uint32_t>((x + 3 * y) % 16); };
    auto index8 = [](int x, int y) { return static_cast<uint32_t>(x * 40 + y); };
    auto index8Short = [](int x, int y) { return static_cast<uint32_t>((x + y) % 8); };
    auto rgb555 = [](int x, int y) {
        return static_cast<uint32_t>(((x * 7) << 10) | ((y * 9) << 5) | (x + y + 3));
    };
    auto rgb565 = [](int x, int y) {
        return static_cast<uint32_t>(((x * 7) << 11) | ((y * 20 + 1) << 5) | (x + y));
    };
    auto rgb24 = [](int x, int y) {
        return static_cast<uint32_t>((x * 50) << 16 | (y * 80) << 8 | (x + y * 10));
    };
    auto argb32 = [](int x, int y) {
        return static_cast<uint32_t>((x * 60 + 1) << 24 | (x * 50) << 16 | (y * 80) << 8 | 9);
    };

    std::vector<TDepthCase> cases = {
        { "1 bit", { 5, 3, 1, BI_RGB, {}, RampPalette(2), 0, index1, DiagonalMask },
            [&](int x, int y) { return RampColour(static_cast<int>(index1(x, y)), 2); }, false },
        { "4 bits", { 5, 3, 4, BI_RGB, {}, RampPalette(16), 0, index4, DiagonalMask },
            [&](int x, int y) { return RampColour(static_cast<int>(index4(x, y)), 16); }, false },
        { "8 bits", { 5, 3, 8, BI_RGB, {}, RampPalette(256), 0, index8, DiagonalMask },
            [&](int x, int y) { return RampColour(static_cast<int>(index8(x, y)), 256); }, false },
        { "8 bits, 4-entry palette",
            { 5, 3, 8, BI_RGB, {}, RampPalette(4), 4, index8Short, DiagonalMask },
            [&](int x, int y) { return RampColour(static_cast<int>(index8Short(x, y)), 4); },
            false },
        { "16 bits 5-5-5", { 5, 3, 16, BI_RGB, {}, {}, 0, rgb555, DiagonalMask },
            [&](int x, int y) {
                uint32_t v = rgb555(x, y);
                return TBgra { Scale5(v & 31), Scale5((v >> 5) & 31), Scale5(v >> 10), 0 };
            },
            false },
        { "16 bits 5-6-5 bit-fields",
            { 5, 3, 16, BI_BITFIELDS, { 0xF800, 0x07E0, 0x001F }, {}, 0, rgb565, DiagonalMask },
            [&](int x, int y) {
                uint32_t v = rgb565(x, y);
                return TBgra { Scale5(v & 31), Scale6((v >> 5) & 63), Scale5(v >> 11), 0 };
            },
            false },
        { "24 bits", { 5, 3, 24, BI_RGB, {}, {}, 0, rgb24, DiagonalMask },
            [&](int x, int y) {
                uint32_t v = rgb24(x, y);
                return TBgra { uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), 0 };
            },
            false },
        { "32 bits", { 5, 3, 32, BI_RGB, {}, {}, 0, argb32, DiagonalMask },
            [&](int x, int y) {
                uint32_t v = argb32(x, y);
                return TBgra { uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24) };
            },
            true },
        { "32 bits bit-fields",
            { 5, 3, 32, BI_BITFIELDS, { 0xFF0000, 0xFF00, 0xFF }, {}, 0, argb32, DiagonalMask },
            [&](int x, int y) {
                uint32_t v = argb32(x, y);
                return TBgra { uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24) };
            },
            true },
    };
    for (const TDepthCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TIconImage image = DecodeIconImage(BuildImage(c.Recipe));
        ASSERT_EQ(image.Width(), 5);
        ASSERT_EQ(image.Height(), 3);
        EXPECT_EQ(image.BitCount, c.Recipe.BitCount);
        EXPECT_EQ(image.HasAlpha, c.HasAlpha);
        EXPECT_FALSE(image.IsPng);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                SCOPED_TRACE(::testing::Message() << "pixel " << x << "," << y);
                TBgra expected = c.Expected(x, y);
                if (!c.HasAlpha)
                    expected[3] = DiagonalMask(x, y) ? 0 : 255;
                EXPECT_EQ(PixelAt(image, x, y), expected);
                EXPECT_EQ(image.MaskAt(x, y), DiagonalMask(x, y));
            }
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
            EXPECT_EQ(PixelAt(fromMask, x, y),
                (TBgra { uint8_t(0x30 + x), 0x20, 0x10, uint8_t(DiagonalMask(x, y) ? 0 : 255) }));

    // Data that ends before the mask rows: the image's own alpha, a mask of 0.
    recipe.Pixel = [](int x, int) { return static_cast<uint32_t>((x * 80) << 24 | 0x00405060); };
    recipe.WithMask = false;
    TIconImage noMask = DecodeIconImage(BuildImage(recipe));
    EXPECT_EQ(PixelAt(noMask, 2, 1), (TBgra { 0x60, 0x50, 0x40, 160 }));
    EXPECT_EQ(PixelAt(noMask, 0, 0)[3], 0);
    EXPECT_FALSE(noMask.MaskAt(0, 0));

    // Without mask rows and without alpha every pixel is opaque.
    recipe.Pixel = colour;
    TIconImage bare = DecodeIconImage(BuildImage(recipe));
    EXPECT_EQ(PixelAt(bare, 0, 0)[3], 255);
}

TEST(IconDecoderTest, PaletteIndicesPastTheTableAreBlack)
{
    // biClrUsed far above 256 is taken as 256 entries; indices past the given entries are black.
    TImageRecipe recipe { 3, 1, 8, BI_RGB, {}, RampPalette(2), 2,
        [](int x, int) { return uint32_t(x * 100); }, DiagonalMask };
    TIconImage image = DecodeIconImage(BuildImage(recipe));
    EXPECT_EQ(PixelAt(image, 1, 0), (TBgra { 0, 0, 0, 255 }));
    recipe.ClrUsed = 0xFFFFFFFF;
    recipe.Palette = RampPalette(256);
    image = DecodeIconImage(BuildImage(recipe));
    EXPECT_EQ(PixelAt(image, 2, 0), (TBgra { 55, 107, 200, 255 }));
}

TEST(IconDecoderTest, RefusesHostileImages)
{
    const Bytes good = BuildImage({ 4, 4, 8, BI_RGB, {}, RampPalette(256), 0 });
    auto field = [](uint32_t offset, uint32_t value) {
        return [=](Bytes& b) { WriteU32(b.data() + offset, value); };
    };
    auto bits = [](uint16_t value) { return [=](Bytes& b) { WriteU16(b.data() + 14, value); }; };
    auto cut = [](size_t size) { return [=](Bytes& b) { b.resize(size); }; };
    const Bytes fields16
        = BuildImage({ 4, 4, 16, BI_BITFIELDS, { 0xF800, 0x07E0, 0x001F }, {}, 0 });
    auto masks = [&](uint32_t r, uint32_t g, uint32_t b) {
        return [=](Bytes& bytes) {
            bytes = fields16;
            WriteU32(bytes.data() + 40, r);
            WriteU32(bytes.data() + 44, g);
            WriteU32(bytes.data() + 48, b);
        };
    };
    struct TCase {
        const char* Name;
        std::function<void(Bytes&)> Mutate;
    };
    const TCase cases[] = {
        { "shorter than a header", cut(39) },
        { "header size 12", field(0, 12) },
        { "header size past the data", field(0, 5000) },
        { "header size 4 GiB", field(0, 0xFFFFFFFF) },
        { "width 0", field(4, 0) },
        { "negative width", field(4, static_cast<uint32_t>(-4)) },
        { "width 40000", field(4, 40000) },
        { "height 40000", field(8, 80000) },
        { "negative height", field(8, static_cast<uint32_t>(-8)) },
        { "height of one row", field(8, 1) },
        { "30000 x 30000 pixels",
            [](Bytes& b) {
                WriteU32(b.data() + 4, 30000);
                WriteU32(b.data() + 8, 60000);
            } },
        { "huge width, tiny data", field(4, 32768) },
        { "bit count 0", bits(0) },
        { "bit count 7", bits(7) },
        { "bit count 64", bits(64) },
        { "RLE8 compression", field(16, BI_RLE8) },
        { "bit-fields with 8 bits", field(16, BI_BITFIELDS) },
        { "PNG compression in the header", field(16, 5) },
        { "palette past the data", cut(40 + 512) },
        { "colour rows cut short", cut(40 + 1024 + 8) },
        { "mask rows cut short", cut(good.size() - 1) },
        { "zero colour mask", masks(0xF800, 0, 0x001F) },
        { "overlapping masks", masks(0xF800, 0x0FE0, 0x001F) },
        { "split mask", masks(0xF000 | 0x0100, 0x07E0 & ~0x0100u, 0x001F) },
        { "mask wider than the pixel", masks(0x1F800, 0x07E0, 0x001F) },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Bytes bytes = good;
        c.Mutate(bytes);
        EXPECT_THROW(DecodeIconImage(bytes), EInvalidGraphic);
    }
    EXPECT_NO_THROW(DecodeIconImage(good));
}

TEST(IconDecoderTest, IconSizesComeFromTheImageNotTheDirectory)
{
    Bytes image = BuildImage({ 5, 3, 24, BI_RGB, {}, {}, 0, [](int, int) { return 0x123456u; } });
    TIcon icon;
    icon.LoadFromStream(WrapAsIcon(image, 16, 16, 8));
    TIconImage decoded = DecodeIcon(icon);
    EXPECT_EQ(decoded.Width(), 5);
    EXPECT_EQ(decoded.Height(), 3);
    EXPECT_EQ(decoded.BitCount, 24);
    EXPECT_EQ(PixelAt(decoded, 4, 2), (TBgra { 0x56, 0x34, 0x12, 255 }));

    const Bytes good = WrapAsIcon(image);
    struct TCase {
        const char* Name;
        size_t Offset; // of a 16-bit field, or SIZE_MAX to cut the data at Value
        uint32_t Value;
        bool Wide;
    };
    const TCase cases[] = {
        { "empty icon", SIZE_MAX, 0, false },
        { "header cut", SIZE_MAX, 21, false },
        { "reserved word 1", 0, 1, false },
        { "type 2 (cursor)", 2, 2, false },
        { "no images", 4, 0, false },
        { "size 0", 14, 0, true },
        { "image past the end", 14, static_cast<uint32_t>(image.size() + 1), true },
        { "offset inside the header", 18, 6, true },
        { "offset wraps around", 18, 0xFFFFFFF0, true },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Bytes bytes = good;
        if (c.Offset == SIZE_MAX)
            bytes.resize(c.Value);
        else if (c.Wide)
            WriteU32(bytes.data() + c.Offset, c.Value);
        else
            WriteU16(bytes.data() + c.Offset, static_cast<uint16_t>(c.Value));
        TIcon bad;
        bad.LoadFromStream(bytes);
        EXPECT_THROW(DecodeIcon(bad), EInvalidGraphic);
    }
}

bool HaveTool(const char* name)
{
    return std::system((std::string("command -v ") + name + " > /dev/null 2>&1").c_str()) == 0;
}

Bytes ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Icons of each kind, as the outside readers get them: 8 x 8 pixels, a mask with holes.
std::vector<std::pair<std::string, Bytes>> SampleIcons()
{
    auto holes = [](int x, int y) { return (x * y) % 5 == 1; };
    auto index = [](int x, int y) { return static_cast<uint32_t>(x + 2 * y); };
    auto rgb = [](int x, int y) { return static_cast<uint32_t>(x * 30 << 16 | y * 31 << 8 | 200); };
    auto argb = [&](int x, int y) { return holes(x, y) ? 0u : (0x20u + x * 28) << 24 | rgb(x, y); };
    return {
        { "4bit",
            WrapAsIcon(BuildImage({ 8, 8, 4, BI_RGB, {}, RampPalette(16), 0,
                           [&](int x, int y) { return index(x, y) % 16; }, holes }),
                8, 8, 4) },
        { "8bit",
            WrapAsIcon(
                BuildImage({ 8, 8, 8, BI_RGB, {}, RampPalette(256), 0, index, holes }), 8, 8, 8) },
        { "24bit", WrapAsIcon(BuildImage({ 8, 8, 24, BI_RGB, {}, {}, 0, rgb, holes }), 8, 8, 24) },
        { "32bit", WrapAsIcon(BuildImage({ 8, 8, 32, BI_RGB, {}, {}, 0, argb, holes }), 8, 8, 32) },
    };
}

// Compares straight RGBA bytes of an outside reader with a decoded image: alpha everywhere,
// colours where the pixel is visible.
void ExpectSamePicture(const TIconImage& image, const Bytes& rgba)
{
    ASSERT_EQ(rgba.size(), static_cast<size_t>(image.Width() * image.Height() * 4));
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const uint8_t* theirs = rgba.data() + (y * image.Width() + x) * 4;
            TBgra ours = PixelAt(image, x, y);
            ASSERT_EQ(theirs[3], ours[3]) << "alpha at " << x << "," << y;
            if (ours[3] != 0) {
                ASSERT_EQ((TBgra { theirs[2], theirs[1], theirs[0], theirs[3] }), ours)
                    << "at " << x << "," << y;
            }
        }
}

void WriteAll(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Straight RGBA bytes of a 32-bit bitmap (icotool's PNG output, read by the decoder under test).
Bytes ToRgba(const TBitmap& bitmap)
{
    Bytes rgba;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const uint8_t* p = bitmap.ScanLine(y) + x * 4;
            rgba.insert(rgba.end(), { p[2], p[1], p[0], p[3] });
        }
    return rgba;
}

TEST(IconDecoderTest, AgreesWithImageMagickAndIcotool)
{
    struct TTool {
        const char* Name;
        const char* Command; // %s: the .ico file, %s: the output folder
    };
    const TTool tools[] = {
        { "convert", "convert 'ico:%s' -depth 8 'rgba:%s/out.rgba' 2>/dev/null" },
        { "icotool", "icotool -x -o '%s' '%s' 2>/dev/null" },
    };
    bool ran = false;
    for (const TTool& tool : tools) {
        if (!HaveTool(tool.Name))
            continue;
        ran = true;
        for (const auto& [name, bytes] : SampleIcons()) {
            SCOPED_TRACE(std::string(tool.Name) + " " + name);
            std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "icon_tools";
            std::filesystem::remove_all(dir);
            std::filesystem::create_directories(dir);
            std::filesystem::path ico = dir / (name + ".ico");
            WriteAll(ico, bytes);
            bool magick = std::string(tool.Name) == "convert";
            std::string command = magick ? FormatText(tool.Command, { ico.string(), dir.string() })
                                         : FormatText(tool.Command, { dir.string(), ico.string() });
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            Bytes theirs;
            for (const auto& entry : std::filesystem::directory_iterator(dir)) {
                if (entry.path().extension() == ".rgba")
                    theirs = ReadAll(entry.path());
                else if (entry.path().extension() == ".png")
                    theirs = ToRgba(DecodePng(ReadAll(entry.path())));
            }
            TIcon icon;
            icon.LoadFromStream(bytes);
            ExpectSamePicture(DecodeIcon(icon), theirs);
        }
    }
    if (!ran)
        GTEST_SKIP() << "neither ImageMagick nor icoutils is installed";
}

TEST(IconDecoderTest, ImageMagickReadsTheEncodedPng)
{
    if (!HaveTool("convert"))
        GTEST_SKIP() << "ImageMagick is not installed";
    TIconImage image = DecodeIconImage(BuildImage(
        { 7, 5, 32, BI_RGB, {}, {}, 0, [](int x, int y) {
             return static_cast<uint32_t>((x * 36 + 3) << 24 | (x * 30) << 16 | (y * 50) << 8 | 77);
         } }));
    std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "icon_decoder_png";
    std::filesystem::create_directories(dir);
    std::filesystem::path png = dir / "encoded.png", raw = dir / "encoded.rgba";
    WriteAll(png, EncodePng(image.Pixels));
    std::string command
        = "convert 'png:" + png.string() + "' -depth 8 'rgba:" + raw.string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    ExpectSamePicture(image, ReadAll(raw));
}

} // namespace
} // namespace velmora

// Images whose mask rows are short (Pillow stores them without their padding): the colours
// decode, the missing mask bytes are opaque, and such icons extract and save unchanged.

#include "graphics/icon_decoder.h"
#include "icon_test_files.h"
#include "icons/icon_directory.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

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

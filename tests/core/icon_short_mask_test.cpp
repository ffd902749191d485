// Images whose mask rows are stored without their padding (as Pillow writes them) or not at
// all: the colours decode, the missing mask bytes are opaque, and such icons save unchanged.

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
    struct TCase {
        int Width;
        int BitCount;
        size_t MaskBytes; // of the mask rows, kept from the start
    };
    const TCase cases[] = {
        { 16, 8, 16 * 2 }, // rows of 2 bytes without their padding to 4
        { 24, 24, 24 * 3 }, { 48, 1, 48 * 6 }, { 48, 4, 0 }, // no mask at all
        { 16, 24, 16 * 4 - 3 }, // the last row cut inside
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Width << " pixels, " << c.BitCount << " bits");
        TImageRecipe recipe { c.Width, c.Width, c.BitCount };
        if (c.BitCount <= 8)
            recipe.Palette.assign(size_t { 1 } << c.BitCount, TRGBQuad { 10, 20, 30, 0 });
        recipe.Pixel = [](int, int) { return 0x1E140Au; }; // the palette's colour at any depth
        recipe.MaskBit = [](int x, int) { return x == 0; }; // the left column transparent
        Bytes image = BuildImage(recipe);
        const size_t paddedMask = static_cast<size_t>((c.Width + 31) / 32 * 4 * c.Width);
        image.resize(image.size() - paddedMask + c.MaskBytes);
        const TIconImage decoded = DecodeIconImage(image);
        const size_t stride = static_cast<size_t>((c.Width + 31) / 32 * 4);
        for (int y = 0; y < c.Width; ++y) {
            // Mask rows are stored bottom-up; a row is read only as far as its bytes go.
            const size_t row = static_cast<size_t>(c.Width - 1 - y);
            const bool present = row * stride < c.MaskBytes;
            EXPECT_EQ(decoded.MaskAt(0, y), present) << y;
            EXPECT_EQ(PixelAt(decoded.Pixels, 0, y)[3], present ? 0 : 255) << y;
            EXPECT_EQ(PixelAt(decoded.Pixels, c.Width - 1, y), (TBgra { 10, 20, 30, 255 })) << y;
        }
    }
}

TEST(IconShortMask, PillowIconsLoadExtractAndSaveUnchanged)
{
    if (!HavePillow())
        GTEST_SKIP() << "Pillow is missing";
    TTempDir dir;
    const std::string script = "from PIL import Image\n"
                               "im = Image.new('RGB', (48, 48), (200, 30, 60))\n"
                               "im.paste((20, 140, 90), (24, 24, 48, 48))\n"
                               "for mode in ('P', 'RGB'):\n"
                               "    im.convert(mode, palette=Image.Palette.ADAPTIVE).save('"
        + dir.Root().string()
        + "/' + mode + '.ico', sizes=[(16, 16), (24, 24), (48, 48)], bitmap_format='bmp')\n";
    WriteFile(dir.Path("make.py"), Bytes(script.begin(), script.end()));
    ASSERT_EQ(RunCommand("/usr/bin/python3 " + dir.Path("make.py").string()), 0);
    for (const char* name : { "P.ico", "RGB.ico" }) {
        SCOPED_TRACE(name);
        TIconDirectory document;
        ASSERT_TRUE(document.LoadFromFile(dir.Path(name)));
        ASSERT_EQ(document.Count(), 3);
        for (int i = 0; i < document.Count(); ++i) {
            const TIconImage image = DecodeIcon(*document.GetImage(i).Icon);
            EXPECT_EQ(PixelAt(image.Pixels, 0, 0), (TBgra { 60, 30, 200, 255 })) << i;
        }
        ASSERT_TRUE(document.SaveToFile(dir.Path("saved.ico")));
        EXPECT_EQ(ReadFile(dir.Path("saved.ico")), ReadFile(dir.Path(name)));
        EXPECT_EQ(RunCommand(std::string(VELMORA_CLI_PATH) + " extract " + dir.Path(name).string()
                      + " " + dir.Path("out").string() + " >/dev/null"),
            0);
    }
}

} // namespace
} // namespace velmora

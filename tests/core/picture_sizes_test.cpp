#include "graphics/icon_picture.h"
#include "graphics/png_codec.h"
#include "graphics/resample.h"
#include "pane_test_panes.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

const std::string Cli = VELMORA_CLI_PATH;

// A flat colour stays exactly that colour, a transparent border stays transparent, the
// colours under alpha 0 never bleed into the visible pixels, and a wide picture is fitted
// centred on transparency.
TEST(PictureSizes, MadeSizesKeepColoursEdgesAndProportions)
{
    const std::vector<int> sides { 256, 16, 48, 128, 20 };
    // Blue inside a transparent border of an eighth; the border's hidden colour is green.
    const TBitmap framed = Rgba(512, 512, [](int x, int y) {
        const bool inside = x >= 64 && x < 448 && y >= 64 && y < 448;
        return inside ? TBgra { 200, 0, 0, 255 } : TBgra { 0, 255, 0, 0 };
    });
    const std::vector<TBitmap> made = MakeSquareSizes(framed, sides);
    for (size_t i = 0; i < sides.size(); ++i) {
        SCOPED_TRACE(sides[i]);
        ASSERT_EQ(made[i].Width(), sides[i]);
        for (int y = 0; y < sides[i]; ++y)
            for (int x = 0; x < sides[i]; ++x) {
                // No fringe: every visible pixel is the blue; well inside opaque, well outside
                // nothing.
                const TBgra p = PixelAt(made[i], x, y);
                const int d = std::min({ x, y, sides[i] - 1 - x, sides[i] - 1 - y }) - sides[i] / 8;
                ASSERT_EQ(p, (TBgra { uint8_t(p[3] ? 200 : 0), 0, 0, p[3] })) << x << "," << y;
                ASSERT_TRUE(d >= 3 ? p[3] == 255 : d >= -3 || p[3] == 0) << x << "," << y;
            }
    }

    // 200 x 100 into 16: 16 x 8 in rows 4 to 11.
    const TBitmap wide = Rgba(200, 100, [](int, int) { return TBgra { 1, 2, 3, 255 }; });
    const TBitmap fitted = MakeSquareSizes(wide, std::vector<int> { 16 })[0];
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(PixelAt(fitted, 7, y)[3], y >= 4 && y < 12 ? 255 : 0) << y;
    EXPECT_EQ(PixelAt(fitted, 0, 8), (TBgra { 1, 2, 3, 255 }));

    EXPECT_THROW(MakeSquareSizes(TBitmap(8193, 1, TPixelFormat::pf32bit), std::vector<int> { 16 }),
        EInvalidGraphic);
}

// build --sizes makes each size as a 32-bit image (the 256 one as PNG) that icotool and Pillow
// read, each within 4 levels of Pillow's own Lanczos resize of the premultiplied picture; a
// size the icon holds is refused with status 1.
TEST(PictureSizes, BuildMakesEverySizeFromOnePicture)
{
    TTempDir dir;
    const TBitmap art = Rgba(300, 200, [](int x, int y) {
        const int dx = x - 150;
        const int dy = y - 100;
        const bool disc = dx * dx + dy * dy < 90 * 90;
        return TBgra { static_cast<uint8_t>(x * 255 / 300), static_cast<uint8_t>(y),
            static_cast<uint8_t>((x / 20 + y / 20) % 2 ? 240 : 20),
            disc ? uint8_t { 255 } : uint8_t { 0 } };
    });
    WriteFile(dir.Path("art.png"), EncodePng(art));
    const std::string cd = "cd '" + dir.Root().string() + "' && ";
    const std::string run = cd + "'" + Cli + "' build ";
    std::string out;
    ASSERT_EQ(RunCommand(run + "--sizes 16,24,32,48,64,128,256 -o art.ico art.png 2>&1", &out), 0)
        << out;
    TIconDirectory icon;
    ASSERT_TRUE(icon.LoadFromFile(dir.Path("art.ico").string()));
    ASSERT_EQ(icon.Count(), 7);
    EXPECT_TRUE(icon.GetImage(6).IsPng());
    EXPECT_FALSE(icon.GetImage(5).IsPng());

    std::string refused;
    EXPECT_EQ(
        RunCommand(run + "--sizes 20,32 --into art.ico -o two.ico art.png 2>&1", &refused), 1);
    EXPECT_EQ(refused,
        "velmora-icon build: art.png @ 32: not imported: the icon already holds an image of its "
        "format (32*32, 32 bpp)\ntwo.ico\n");

    std::string listed;
    if (HaveProgram("icotool")) {
        ASSERT_EQ(RunCommand(cd + "icotool -l art.ico 2>&1", &listed), 0);
        EXPECT_NE(listed.find("--index=7 --width=256 --height=256 --bit-depth=32"), listed.npos);
    }
    if (!HavePillow())
        GTEST_SKIP() << "Pillow is not installed";
    std::string mad;
    ASSERT_EQ(RunCommand(cd + "/usr/bin/python3 '" + VELMORA_DATA_DIR
                      + "/../bench/lanczos_difference.py' art.png art.ico",
                  &mad),
        0);
    EXPECT_LT(std::stod(mad.substr(mad.rfind(' '))), 4.0) << mad;
}

} // namespace
} // namespace velmora

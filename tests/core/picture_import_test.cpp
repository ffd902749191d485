#include "graphics/icon_picture.h"
#include "graphics/png_codec.h"
#include "graphics/resample.h"
#include "icons/icon_directory_picture.h"
#include "pane_test_panes.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

TBgra Grey(uint8_t v, uint8_t alpha)
{
    return { v, v, v, alpha };
}

TBitmap ImagePicture(const TIconPane& pane, int index)
{
    return IconPicture(*pane.IconDirectory().GetImage(index).Icon);
}

// Each kind of picture comes back pixel for pixel with its alpha, whichever PNG colour type
// the compact encoder chose for it; a side of 256 is stored as PNG and survives a save; a
// larger picture is refused; a picture that is not square keeps its size and sorts by it.
TEST(PictureImport, PngPicturesBecome32BitImagesWithTheirAlpha)
{
    using F = std::function<TBgra(int, int)>;
    struct TCase {
        const char* Name;
        int W, H;
        F ColourAt;
        bool Png; // stored PNG-compressed
    };
    const F twoColours = [](int x, int) { return TBgra { 0, 0, 255, uint8_t(x < 8 ? 255 : 0) }; };
    const F grey = [](int x, int y) { return Grey(uint8_t(x * 12 + y), 255); };
    const F greyAlpha = [](int x, int y) { return Grey(uint8_t(x * 10), uint8_t(y * 10 + 1)); };
    const F rgb = [](int x, int y) { return TBgra { uint8_t(x * 5), uint8_t(y * 12), 7, 255 }; };
    const F rgba = [](int x, int y) {
        return TBgra { uint8_t(x), uint8_t(y), uint8_t(x ^ y), uint8_t(x + y == 0 ? 0 : 200) };
    };
    const F tall = [](int, int y) { return TBgra { 1, 2, uint8_t(y), 255 }; };
    const std::vector<TCase> cases { { "twocolours", 16, 16, twoColours, false },
        { "grey", 20, 20, grey, false }, { "greyalpha", 24, 24, greyAlpha, false },
        { "rgb", 48, 20, rgb, false }, { "rgba", 256, 256, rgba, true },
        { "tall", 1, 256, tall, true } };
    TTempDir dir;
    TTwoPanes panes;
    TStringList files;
    for (const TCase& c : cases) {
        const std::string name = dir.Path(std::string(c.Name) + ".png").string();
        WriteFile(name, EncodePngCompact(Rgba(c.W, c.H, c.ColourAt)));
        files.Add(name);
    }
    WriteFile(dir.Path("huge.png"), EncodePng(Rgba(257, 8, tall)));
    files.Add(dir.Path("huge.png").string());
    panes.Pane1.ImportBitmapFiles(files);
    ASSERT_EQ(panes.Platform1.Messages.size(), 1u);
    EXPECT_EQ(panes.Platform1.Messages[0],
        "Picture too large (width or height > 256):\r\n\r\n" + dir.Path("huge.png").string());

    panes.Pane1.SaveIconFile(dir.Path("all.ico").string());
    panes.Pane2.OpenIconFile(dir.Path("all.ico").string());
    ASSERT_EQ(panes.Pane2.IconDirectory().Count(), cases.size());
    // The files were taken in name order: grey, greyalpha, rgb, rgba, tall, twocolours.
    const std::vector<size_t> order { 1, 2, 3, 4, 5, 0 };
    for (size_t i = 0; i < order.size(); ++i) {
        const TCase& c = cases[order[i]];
        SCOPED_TRACE(c.Name);
        const int index = static_cast<int>(i);
        const TIconDirectoryEntry& entry = panes.Pane2.IconDirectory().GetEntry(index);
        EXPECT_EQ(std::tuple(entry.ImageWidth(), entry.ImageHeight(), int { entry.BitCount }),
            std::tuple(c.W, c.H, 32));
        EXPECT_EQ(panes.Pane2.IconDirectory().GetImage(index).IsPng(), c.Png);
        const TBitmap got = ImagePicture(panes.Pane2, index);
        for (int y = 0; y < c.H; ++y)
            for (int x = 0; x < c.W; ++x) {
                TBgra want = c.ColourAt(x, y);
                if (want[3] == 0)
                    want = { 0, 0, 0, 0 };
                ASSERT_EQ(PixelAt(got, x, y), want) << x << "," << y;
            }
    }
    // Alpha 0 is the AND mask too: the mask of the two-colour image is set on its right half.
    const Bytes& data = panes.Pane2.IconDirectory().GetImage(5).Icon->Data();
    const size_t maskStart = 22 + 40 + 16 * 16 * 4;
    EXPECT_EQ(data[maskStart], 0x00);
    EXPECT_EQ(data[maskStart + 1], 0xFF);

    // Sorting puts the PNG images in their places too: 1 x 256 first, 256 x 256 last.
    panes.Pane2.IconDirectory().SortImages();
    EXPECT_EQ(Formats(panes.Pane2.IconDirectory()).front(), std::tuple(1, 256, 32));
    EXPECT_EQ(Formats(panes.Pane2.IconDirectory()).back(), std::tuple(256, 256, 32));
}

// Copy offers the image with its alpha beside the bitmap; a pasted picture with alpha becomes a
// 32-bit image that keeps it, while an opaque one pastes as the bitmap always did. Export to a
// name ending in ".png" writes the image at its own size with its transparency.
TEST(PictureImport, ClipboardAndExportKeepTransparency)
{
    TTempDir dir;
    TTwoPanes panes;
    const TBitmap picture = Rgba(40, 30, [](int x, int) {
        return x < 20 ? TBgra { 10, 20, 30, 128 } : TBgra { 0, 0, 0, 0 };
    });
    ASSERT_EQ(ImportPicture(panes.Pane1.IconDirectory(), picture), 0);
    panes.Pane1.RefreshView();
    SelectImages(panes.Pane1, 0, 0);
    ASSERT_TRUE(panes.Pane1.Execute(TPaneAction::EditCopy));
    ASSERT_TRUE(panes.Clipboard.GetPicture().has_value());
    EXPECT_EQ(*panes.Clipboard.GetPicture(), ImagePicture(panes.Pane1, 0));
    EXPECT_EQ(panes.Clipboard.GetBitmap()->Width(), 40);
    panes.Platform1.SaveAnswers.push_back(dir.Path("out.png").string());
    ASSERT_TRUE(panes.Pane1.Execute(TPaneAction::ImageExportBitmap));
    EXPECT_EQ(DecodePng(ReadFile(dir.Path("out.png"))), *panes.Clipboard.GetPicture());

    panes.Pane2.UpdateActions();
    ASSERT_TRUE(panes.Pane2.Execute(TPaneAction::EditPaste));
    ASSERT_EQ(panes.Pane2.IconDirectory().Count(), 1);
    EXPECT_EQ(panes.Pane2.IconDirectory().GetEntry(0).BitCount, 32);
    EXPECT_EQ(ImagePicture(panes.Pane2, 0), ImagePicture(panes.Pane1, 0));

    const TBitmap opaque = Rgba(8, 8, [](int, int) { return TBgra { 3, 2, 1, 255 }; });
    panes.Clipboard.SetBitmapWithPicture(MakeSolidBitmap(8, 8, RGB(1, 2, 3)), opaque);
    ASSERT_TRUE(panes.Pane2.Execute(TPaneAction::EditPaste));
    EXPECT_EQ(panes.Pane2.IconDirectory().GetEntry(1).BitCount, 24);
}

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
    const TBitmap art = Rgba(300, 200, [](int x, int y) { // a disc on a chequered ramp
        const bool disc = (x - 150) * (x - 150) + (y - 100) * (y - 100) < 90 * 90;
        return TBgra { uint8_t(x * 255 / 300), uint8_t(y),
            uint8_t((x / 20 + y / 20) % 2 ? 240 : 20), uint8_t(disc ? 255 : 0) };
    });
    WriteFile(dir.Path("art.png"), EncodePng(art));
    const std::string cd = "cd '" + dir.Root().string() + "' && ";
    const std::string run = cd + "'" + Cli + "' build ";
    std::string out;
    ASSERT_EQ(
        RunCommand(
            run + "--sizes 16,24,32,48,64,128,256 --png-sizes 16,32 -o art.ico art.png 2>&1", &out),
        0)
        << out;
    TIconDirectory icon;
    ASSERT_TRUE(icon.LoadFromFile(dir.Path("art.ico").string()));
    ASSERT_EQ(icon.Count(), 7);
    // Every PNG image made, of a many-coloured or a two-colour picture, is 8-bit RGBA.
    std::vector<Bytes> pngs;
    for (int i = 0; i < icon.Count(); ++i) {
        EXPECT_EQ(icon.GetImage(i).IsPng(), i == 0 || i == 2 || i == 6) << i;
        if (icon.GetImage(i).IsPng())
            pngs.push_back(icon.GetImage(i).Icon->Data());
    }
    pngs.push_back(MakePictureImage(Rgba(256, 256, [](int x, int) {
        return TBgra { 0, 0, 0, uint8_t(x % 2 ? 255 : 0) };
    })).Image.Icon->Data());
    for (const Bytes& png : pngs)
        EXPECT_EQ(std::make_pair(png[22 + 24], png[22 + 25]),
            std::make_pair(uint8_t { 8 }, uint8_t { 6 }));

    std::string refused;
    EXPECT_EQ(
        RunCommand(run + "--sizes 20,32 --into art.ico -o two.ico art.png 2>&1", &refused), 1);
    EXPECT_EQ(refused,
        "velmora-icon: art.png @ 32: the icon already holds an image of its format (32*32, 32 "
        "bpp)\ntwo.ico\n");

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

#include "graphics/icon_picture.h"
#include "graphics/png_codec.h"
#include "icons/icon_directory_picture.h"
#include "pane_test_panes.h"

#include <gtest/gtest.h>

namespace velmora
{
namespace
{

using namespace velmora::test;

TBitmap ImagePicture(const TIconPane& pane, int index)
{
    return IconPicture(*pane.IconDirectory().GetImage(index).Icon);
}

// Each kind of picture comes back pixel for pixel with its alpha, whichever PNG colour type
// the compact encoder chose for it; a side of 256 is stored as PNG and survives a save; a
// larger picture is refused; a picture that is not square keeps its size.
TEST(PictureImport, PngPicturesBecome32BitImagesWithTheirAlpha)
{
    struct TCase {
        const char* Name;
        int W, H;
        std::function<TBgra(int, int)> ColourAt;
        bool Png; // stored PNG-compressed
    };
    const std::vector<TCase> cases {
        { "twocolours", 16, 16,
            [](int x, int) {
                return x < 8 ? TBgra { 0, 0, 255, 255 } : TBgra { 0, 0, 0, 0 };
            },
            false },
        { "grey", 20, 20,
            [](int x, int y) {
                const auto v = static_cast<uint8_t>(x * 12 + y);
                return TBgra { v, v, v, 255 };
            },
            false },
        { "greyalpha", 24, 24,
            [](int x, int y) {
                const auto v = static_cast<uint8_t>(x * 10);
                return TBgra { v, v, v, static_cast<uint8_t>(y * 10 + 1) };
            },
            false },
        { "rgb", 48, 20,
            [](int x, int y) {
                return TBgra { static_cast<uint8_t>(x * 5), static_cast<uint8_t>(y * 12), 7, 255 };
            },
            false },
        { "rgba", 256, 256,
            [](int x, int y) {
                return TBgra { static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                    static_cast<uint8_t>(x ^ y), static_cast<uint8_t>(x + y == 0 ? 0 : 200) };
            },
            true },
        { "tall", 1, 256,
            [](int, int y) {
                return TBgra { 1, 2, static_cast<uint8_t>(y), 255 };
            },
            true },
    };
    TTempDir dir;
    TTwoPanes panes;
    TStringList files;
    for (const TCase& c : cases) {
        const std::string name = dir.Path(std::string(c.Name) + ".png").string();
        WriteFile(name, EncodePngCompact(Rgba(c.W, c.H, c.ColourAt)));
        files.Add(name);
    }
    WriteFile(dir.Path("huge.png"), EncodePng(Rgba(257, 8, [](int, int) {
        return TBgra { 1, 1, 1, 255 };
    })));
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

    // Sorting puts the PNG images in their places too: 1 x 256 and 256 x 256 after 48 x 20.
    panes.Pane2.IconDirectory().SortImages();
    const TFormats sorted { { 1, 256, 32 }, { 16, 16, 32 }, { 20, 20, 32 }, { 24, 24, 32 },
        { 48, 20, 32 }, { 256, 256, 32 } };
    EXPECT_EQ(Formats(panes.Pane2.IconDirectory()), sorted);

    // Importing a format again asks the bitmap import's question.
    panes.Platform1.Answers.push_back(false);
    TStringList again;
    again.Add(dir.Path("rgb.png").string());
    panes.Pane1.ImportBitmapFiles(again);
    ASSERT_EQ(panes.Platform1.Questions.size(), 1u);
    EXPECT_EQ(
        panes.Platform1.Questions[0].Text, "Format exists:\r\n\r\n48*20, 32 bpp\r\n\r\nReplace?");
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
    EXPECT_EQ(
        panes.Platform1.Dialogs.back().Filter, "Bitmaps (*.bmp)|*.bmp|PNG picture (*.png)|*.png");
    EXPECT_EQ(DecodePng(ReadFile(dir.Path("out.png"))), *panes.Clipboard.GetPicture());

    panes.Pane2.UpdateActions();
    ASSERT_TRUE(panes.Pane2.Execute(TPaneAction::EditPaste));
    ASSERT_EQ(panes.Pane2.IconDirectory().Count(), 1);
    EXPECT_EQ(panes.Pane2.IconDirectory().GetEntry(0).BitCount, 32);
    EXPECT_EQ(ImagePicture(panes.Pane2, 0), ImagePicture(panes.Pane1, 0));

    panes.Clipboard.SetBitmapWithPicture(
        MakeSolidBitmap(8, 8, RGB(1, 2, 3)), Rgba(8, 8, [](int, int) {
            return TBgra { 3, 2, 1, 255 };
        }));
    ASSERT_TRUE(panes.Pane2.Execute(TPaneAction::EditPaste));
    EXPECT_EQ(panes.Pane2.IconDirectory().GetEntry(1).BitCount, 24);
}

} // namespace
} // namespace velmora

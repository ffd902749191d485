#include "graphics/icon_decoder.h"
#include "pane_test_panes.h"

#include <gtest/gtest.h>

namespace velmora::test
{

namespace
{

using A = TPaneAction;
using TLines = std::vector<std::string>;

// The picture an image shows: its colours where the mask lets them through, 0 elsewhere.
std::vector<uint32_t> Shown(const TIconDirectory& document, int index)
{
    const TIconImage image = DecodeIcon(*document.GetImage(index).Icon);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            pixels.push_back(image.MaskAt(x, y) ? 0 : GetPixelColor(image.Pixels, x, y) | 1u << 31);
    return pixels;
}

// An image's data without the one-image icon header around it.
Bytes Raw(const TIconDirectory& document, int index)
{
    const Bytes& data = document.GetImage(index).Icon->Data();
    return Bytes(data.begin() + 22, data.end());
}

// Runs a step while each question is up (the user acting meanwhile), then answers it.
class TActingPlatform : public TFakePanePlatform
{
public:
    using TFakePanePlatform::TFakePanePlatform;
    std::function<void()> WhileAsking;
    bool AskQuestion(const std::string& text, const std::string& caption) override
    {
        if (WhileAsking)
            WhileAsking();
        return TFakePanePlatform::AskQuestion(text, caption);
    }
};

} // namespace

TEST(IconPaneTransfer, CopyCutAndPaste)
{
    TTwoPanes panes;
    // 16 x 16 and 32 x 32 at 24 bits and 16 x 16 at 32 bits: one image cell is empty.
    ImportPictures(panes.Pane1,
        { Picture(16, 16), Picture(32, 32, 10), Picture(16, 16, 1, TPixelFormat::pf32bit) });
    panes.Pane1.StringGridMainClick({ 2, 2, 2, 2 });
    ASSERT_EQ(panes.Pane1.SelectedImages().Lines(), TLines { "-1" });
    ASSERT_TRUE(panes.Pane1.Execute(A::EditCopy));
    EXPECT_FALSE(panes.Clipboard.HasBitmap());

    // The copy holds the image's colours with its transparent pixels in the transparent colour.
    SelectImages(panes.Pane1, 1, 1);
    ASSERT_TRUE(panes.Pane1.Execute(A::EditCopy));
    const std::optional<TBitmap> copied = panes.Clipboard.GetBitmap();
    ASSERT_TRUE(copied && copied->Width() == 32);
    EXPECT_EQ(GetPixelColor(*copied, 0, 5), RGB(255, 0, 255));
    EXPECT_EQ(GetPixelColor(*copied, 3, 4), RGB(10, 24, 32));
    EXPECT_TRUE(panes.Pane1.IsEnabled(A::EditPaste));
    // The partner sees the clipboard at its own next update, and pastes the same picture with
    // its transparency.
    EXPECT_FALSE(panes.Pane2.IsEnabled(A::EditPaste));
    panes.Pane2.UpdateActions();
    ASSERT_TRUE(panes.Pane2.Execute(A::EditPaste));
    EXPECT_EQ(Formats(panes.Pane2.IconDirectory()), (TFormats { { 32, 32, 32 } }));
    EXPECT_EQ(Shown(panes.Pane2.IconDirectory(), 0), Shown(panes.Pane1.IconDirectory(), 1));
    EXPECT_TRUE(panes.Pane2.Grid().Visible());

    // Cut takes even the last image; the pane is then empty.
    ASSERT_TRUE(panes.Pane2.Execute(A::EditCut));
    EXPECT_EQ(panes.Pane2.IconDirectory().Count(), 0);
    EXPECT_FALSE(panes.Pane2.Grid().Visible());
    EXPECT_FALSE(panes.Pane2.IsEnabled(A::EditCut));
    EXPECT_TRUE(panes.Pane2.IsEnabled(A::EditPaste));
    EXPECT_TRUE(panes.Platform1.Messages.empty() && panes.Platform2.Messages.empty());
}

// A paste of a format the icon holds asks under the import's caption. Yes replaces the image,
// which moves to the end, but only when the new image can be added: a clipboard that changed
// while the question was up keeps the old one.
TEST(IconPaneTransfer, PasteOfAFormatThatExists)
{
    TTwoPanesOf<TActingPlatform> panes;
    TIconPane& pane = panes.Pane1;
    ImportPictures(pane, { Picture(16, 16), Picture(32, 32) });
    const std::vector<Bytes> before = ImageData(pane.IconDirectory());
    panes.Clipboard.SetBitmap(Picture(16, 16, 200));
    panes.Platform1.WhileAsking = [&] { panes.Clipboard.SetBitmap(Picture(80, 80)); };
    panes.Platform1.Answers = { true, true };
    pane.UpdateActions();
    ASSERT_TRUE(pane.Execute(A::EditPaste));
    EXPECT_EQ(panes.Platform1.Messages,
        TLines { "Bitmap too large (width or height > 72):\r\n\r\nClipBoard" });
    EXPECT_EQ(ImageData(pane.IconDirectory()), before);

    panes.Clipboard.SetBitmap(Picture(16, 16, 200));
    panes.Platform1.WhileAsking = nullptr;
    ASSERT_TRUE(pane.Execute(A::EditPaste));
    EXPECT_EQ(panes.Platform1.Questions.size(), 2u);
    EXPECT_EQ(Formats(pane.IconDirectory()), (TFormats { { 32, 32, 24 }, { 16, 16, 24 } }));
    TIconDirectory expected;
    ASSERT_EQ(expected.ImportBitmap(Picture(16, 16, 200)), 0);
    EXPECT_EQ(Shown(pane.IconDirectory(), 1), Shown(expected, 0));
}

TEST(IconPaneTransfer, DeleteWorksHighestIndexFirstAndKeepsTheLastImage)
{
    TTwoPanes panes;
    // Eleven images in one row; images 10 and 2 are the narrowest, side by side.
    std::vector<TBitmap> pictures;
    for (int i = 0; i <= 10; ++i)
        pictures.push_back(Picture(i == 10 ? 4 : i == 2 ? 5 : 20 + 4 * i, 8));
    ImportPictures(panes.Pane1, pictures);
    SelectImages(panes.Pane1, 10, 2);
    ASSERT_EQ(panes.Pane1.SelectedImages().Lines(), (TLines { "10", "2" }));
    ASSERT_TRUE(panes.Pane1.Execute(A::EditDelete));
    TFormats expected;
    for (int i : { 0, 1, 3, 4, 5, 6, 7, 8, 9 })
        expected.emplace_back(20 + 4 * i, 8, 24);
    EXPECT_EQ(Formats(panes.Pane1.IconDirectory()), expected);
    // The selection stays on its cells, which show other images now.
    EXPECT_EQ(panes.Pane1.SelectedImages().Lines(), (TLines { "0", "1" }));

    // All selected: the highest go, the last one stays with one message. The selection lay
    // past the smaller grid, so its first cell alone is selected.
    SelectImages(panes.Pane1, 0, 8);
    ASSERT_TRUE(panes.Pane1.Execute(A::EditDelete));
    EXPECT_EQ(Formats(panes.Pane1.IconDirectory()), (TFormats { { 20, 8, 24 } }));
    EXPECT_EQ(panes.Platform1.Messages, TLines { "The last image cannot be deleted." });
    EXPECT_EQ(panes.Pane1.Grid().Selection(), (TGridRect { 1, 1, 1, 1 }));

    // Sort orders by depth, then size; the selection follows the grid.
    ImportPictures(panes.Pane1, { Picture(16, 16, 1, TPixelFormat::pf32bit), Picture(8, 4) });
    ASSERT_TRUE(panes.Pane1.Execute(A::ImageSort));
    EXPECT_EQ(Formats(panes.Pane1.IconDirectory()),
        (TFormats { { 8, 4, 24 }, { 20, 8, 24 }, { 16, 16, 32 } }));
    EXPECT_EQ(panes.Pane1.SelectedImages().Lines(), TLines { "0" });
}

// Add sends pane 1's selected images to pane 2 and insert fetches them, highest index first.
// A format the target holds is replaced after a Yes only, and never lost when held twice.
TEST(IconPaneTransfer, AddAndInsertBetweenPanes)
{
    const std::vector<TTestImage> ours { BmpImage(16, 16, 24, 1), BmpImage(32, 32, 8, 1) };
    const std::vector<TTestImage> held { BmpImage(32, 32, 8, 7), BmpImage(48, 48, 8) };
    std::vector<TTestImage> heldTwice = held;
    heldTwice.push_back(BmpImage(32, 32, 8, 9));
    struct TRow {
        const char* Name;
        bool Insert;
        std::vector<TTestImage> Target;
        std::deque<bool> Answers;
        TFormats Formats;
        int SecondLast; // the target's image before, or -1 for a copy of our image 1
        TLines Messages {};
    };
    const std::vector<TRow> rows {
        { "add to an empty pane", false, {}, {}, { { 32, 32, 8 }, { 16, 16, 24 } }, -1 },
        { "add, no", false, held, { false }, { { 32, 32, 8 }, { 48, 48, 8 }, { 16, 16, 24 } }, 1 },
        { "add, held twice", false, heldTwice, { true },
            { { 32, 32, 8 }, { 48, 48, 8 }, { 32, 32, 8 }, { 16, 16, 24 } }, 2,
            { "Format exists, not added!" } },
        { "insert, yes", true, held, { true }, { { 48, 48, 8 }, { 32, 32, 8 }, { 16, 16, 24 } },
            -1 },
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TTempDir dir;
        TTwoPanes panes;
        TIconPane& source = row.Insert ? panes.Pane2 : panes.Pane1;
        TIconPane& target = row.Insert ? panes.Pane1 : panes.Pane2;
        OpenImages(source, dir, ours);
        if (!row.Target.empty())
            OpenImages(target, dir, row.Target);
        const std::vector<Bytes> before = ImageData(target.IconDirectory());
        // The rectangle over both images: (-1, 1, 0, -1) in reading order.
        source.StringGridMainClick({ 1, 1, 2, 2 });
        panes.Pane1.UpdateActions();
        panes.Platform1.Answers = row.Answers;
        ASSERT_TRUE(panes.Pane1.Execute(row.Insert ? A::ImageInsertFrom : A::ImageAddTo));

        const TIconDirectory& result = target.IconDirectory();
        EXPECT_EQ(Formats(result), row.Formats);
        EXPECT_EQ(Raw(result, result.Count() - 1), ours[0].Data);
        if (row.SecondLast < 0)
            EXPECT_EQ(Raw(result, result.Count() - 2), ours[1].Data);
        else
            EXPECT_EQ(result.GetImage(result.Count() - 2).Icon->Data(), before[row.SecondLast]);
        EXPECT_EQ(panes.Platform1.Questions.size(), row.Answers.size());
        EXPECT_EQ(panes.Platform1.Messages, row.Messages);
        EXPECT_TRUE(panes.Platform2.Questions.empty() && panes.Platform2.Messages.empty());
        // The partner's actions follow its new images at once.
        EXPECT_TRUE(panes.Pane2.IsEnabled(A::IconSave));
    }
}

} // namespace velmora::test

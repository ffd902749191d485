#include "cell_drag.h"
#include "core/pane_test_panes.h"
#include "graphics/bmp_codec.h"
#include "graphics/png_codec.h"
#include "image_preview.h"
#include "started_window.h"

#include <QMenuBar>
#include <QTemporaryDir>

namespace velmora::test
{

TEST(WindowDrops, IconsOpenInThePaneTheyFallOn)
{
    TTempDir dir;
    TStartedWindow w;
    const std::string two = dir.Path("two.ico").string();
    WriteFile(two, MakeIconFile({ BmpImage(16, 16, 24), BmpImage(32, 32, 8) }));
    DropFiles(w.Window, w.Window.FrameIcon2(), { two });
    EXPECT_EQ(w.Pane2().IconDirectory().Count(), 2);
    EXPECT_EQ(w.Pane1().IconDirectory().Count(), 0);
    EXPECT_TRUE(w.Pane2().IsEnabled(TPaneAction::IconSave));
    EXPECT_EQ(w.Window.FocusedPane(), w.Window.FrameIcon2());

    // A picture is imported as a bitmap is.
    const std::string png = dir.Path("logo.png").string();
    WriteFile(png, PngImage(20, 20).Data);
    DropFiles(w.Window, w.Window.FrameIcon1(), { png });
    EXPECT_EQ(w.Pane1().IconDirectory().Count(), 1);

    // A drop of nothing usable says why; a remote file too.
    const std::string text = dir.Path("notes.txt").string();
    WriteFile(text, Bytes { 'a' });
    DropFiles(w.Window, w.Window.FrameIcon2(), { text });
    QMimeData remote;
    remote.setUrls({ QUrl(QStringLiteral("https://example.org/a.ico")) });
    DropOn(w.Window, w.Window.FrameIcon1(), remote);
    ASSERT_EQ(w.Prompts.Messages.size(), 2u);
    EXPECT_EQ(
        w.Prompts.Messages[0].rfind("Nothing to do with the dropped files:\r\n\r\n" + text, 0), 0u);
    EXPECT_EQ(w.Prompts.Messages[1], "Only files on this computer can be dropped.");

    // A changed pane asks first; Cancel keeps its document.
    w.Pane2().StringGridMainClick({ 1, 2, 1, 2 });
    w.Pane2().UpdateActions();
    ASSERT_TRUE(w.Pane2().Execute(TPaneAction::EditDelete));
    ASSERT_TRUE(w.Pane2().Changed());
    w.Prompts.SaveChangesAnswers = { TSaveChangesAnswer::Cancel };
    DropFiles(w.Window, w.Window.FrameIcon2(), { two });
    EXPECT_EQ(w.Pane2().IconDirectory().Count(), 1);
    EXPECT_TRUE(w.Errors.empty());
}

// Pictures go to the pane they fall on as one step, elsewhere to pane 1; then the preview.
TEST(WindowDrops, PicturesImportIntoThePaneTheyFallOn)
{
    TTempDir dir;
    TStartedWindow w;
    const std::string bitmap = dir.Path("a.BMP").string();
    const std::string picture = dir.Path("b.Png").string();
    SaveBitmapToFile(Picture(16, 16), bitmap);
    WriteFile(picture, EncodePng(TBitmap(256, 256, TPixelFormat::pf32bit)));
    DropFiles(w.Window, w.Window.FrameIcon2(), { picture, bitmap });
    EXPECT_EQ(Formats(w.Pane2().IconDirectory()), (TFormats { { 16, 16, 24 }, { 256, 256, 32 } }));
    ASSERT_TRUE(w.Pane2().Execute(TPaneAction::EditUndo));
    EXPECT_EQ(w.Pane2().IconDirectory().Count(), 0);
    ASSERT_TRUE(w.Pane2().Execute(TPaneAction::EditRedo));
    DropFiles(w.Window, w.Window.menuBar(), { bitmap });
    EXPECT_EQ(w.Pane1().IconDirectory().Count(), 1);

    const TImagePreview* preview = w.Window.FrameIcon2()->Preview();
    EXPECT_EQ(preview->focusPolicy(), Qt::NoFocus);
    SelectImages(w.Pane2(), 1, 1);
    EXPECT_EQ(preview->Shown().size(), QSize(256, 256));
    EXPECT_TRUE(w.Pane2().StatusText().starts_with("Image #1, 32 bpp, 256 x 256, PNG, "));
    SelectImages(w.Pane2(), 0, 1);
    EXPECT_TRUE(preview->Shown().isNull());
    SelectImages(w.Pane2(), 0, 0);
    ASSERT_EQ(preview->Shown().size(), QSize(16, 16));
    EXPECT_GE(preview->widget()->height(), 3 * 16); // real size and doubled
    EXPECT_TRUE(w.Errors.empty());
}

TEST(WindowDrops, ACellDraggedToTheOtherPaneIsAddedThere)
{
    TStartedWindow w;
    ImportPictures(w.Pane1(), { Picture(20, 12) });

    QTemporaryDir folder;
    const int index = 0;
    std::unique_ptr<QMimeData> data = MakeImageDragData(w.Pane1(), index, folder);
    ASSERT_TRUE(data);
    EXPECT_EQ(DraggedCellPane(data.get()), 1);
    // For other programs: a PNG file of the image, with its alpha.
    ASSERT_EQ(data->urls().size(), 1);
    const QImage png(data->urls()[0].toLocalFile());
    const TIconDirectoryEntry& entry = w.Pane1().IconDirectory().GetEntry(index);
    EXPECT_EQ(png.size(), QSize(entry.ImageWidth(), entry.ImageHeight()));
    EXPECT_EQ(qAlpha(png.pixel(0, 5)), 0);
    EXPECT_EQ(png.pixel(3, 5), qRgba(50, 24, 40, 255));

    // Dropped on pane 1 itself nothing happens; on pane 2 the image is added there.
    DropOn(w.Window, w.Window.FrameIcon1(), *data);
    EXPECT_EQ(w.Pane1().IconDirectory().Count(), 1);
    w.Pane1().StringGridMainClick({ 1, 1, 1, 1 });
    DropOn(w.Window, w.Window.FrameIcon2(), *data);
    ASSERT_EQ(w.Pane2().IconDirectory().Count(), 1);
    EXPECT_EQ(w.Pane2().IconDirectory().GetEntry(0), entry);
    EXPECT_TRUE(w.Pane2().IsEnabled(TPaneAction::EditUndo));
    EXPECT_TRUE(w.Errors.empty());
}

} // namespace velmora::test

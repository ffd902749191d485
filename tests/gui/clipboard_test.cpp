#include "core/icon_test_files.h"
#include "graphics/bitmap_convert.h"
#include "started_window.h"

#include <QApplication>
#include <QClipboard>

namespace velmora::test
{

TEST(ClipboardTest, CopyInOnePanePasteInTheOther)
{
    TTempDir dir;
    TStartedWindow w(true);
    QApplication::clipboard()->clear();
    const std::string path = dir.Path("one.ico").string();
    WriteFile(path, MakeIconFile({ BmpImage(32, 32, 24) }));
    w.Pane1().OpenIconFile(path);
    w.Pane1().UpdateActions();
    w.Pane2().UpdateActions();
    EXPECT_FALSE(w.Window.FrameIcon2()->Action(TPaneAction::EditPaste)->isEnabled());

    // Copy through pane 1's action: the desktop's clipboard holds the picture.
    w.Window.FrameIcon1()->Action(TPaneAction::EditCopy)->trigger();
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), QSize(32, 32));

    // Pane 2 sees it at its next update and pastes it, with the transparency that the PNG
    // beside the bitmap keeps, as a 32-bit image.
    w.Pane2().UpdateActions();
    QAction* paste = w.Window.FrameIcon2()->Action(TPaneAction::EditPaste);
    ASSERT_TRUE(paste->isEnabled());
    paste->trigger();
    ASSERT_EQ(w.Pane2().IconDirectory().Count(), 1);
    EXPECT_EQ(w.Pane2().IconDirectory().GetEntry(0).BitCount, 32);
    EXPECT_EQ(w.Pane2().IconDirectory().GetEntry(0).ImageWidth(), 32);
    EXPECT_TRUE(w.Errors.empty());

    // The pasted image shows the copied picture: both render alike over the same colour.
    TBitmap original = w.Pane1().IconDirectory().RenderImageToBitmap(0, 0xFF00FF);
    TBitmap pasted = w.Pane2().IconDirectory().RenderImageToBitmap(0, 0xFF00FF);
    ConvertPixelFormat(original, TPixelFormat::pf32bit);
    ConvertPixelFormat(pasted, TPixelFormat::pf32bit);
    for (int y : { 0, 7, 31 })
        for (int x : { 1, 9, 30 })
            EXPECT_EQ(GetPixelColor(pasted, x, y), GetPixelColor(original, x, y)) << x << "," << y;
}

} // namespace velmora::test

#include "core/icon_test_files.h"
#include "graphics/bitmap_convert.h"
#include "started_window.h"

#include <QApplication>
#include <QClipboard>

namespace velmora::test
{

// Copy in pane 1 enables Paste in the empty pane 2 at once, through the desktop's clipboard;
// pane 2 pastes the picture as a 32-bit image with the transparency that the PNG beside the
// bitmap keeps. A text on the clipboard disables Paste again.
TEST(ClipboardTest, CopyInOnePanePasteInTheOther)
{
    TTempDir dir;
    TStartedWindow w(true);
    QApplication::clipboard()->clear();
    const std::string path = dir.Path("one.ico").string();
    WriteFile(path, MakeIconFile({ BmpImage(32, 32, 24) }));
    w.Pane1().OpenIconFile(path);
    w.Pane1().StringGridMainClick({ 1, 1, 1, 1 });
    QAction* paste = w.Window.FrameIcon2()->Action(TPaneAction::EditPaste);
    EXPECT_FALSE(paste->isEnabled());
    w.Window.FrameIcon1()->Action(TPaneAction::EditCopy)->trigger();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(32, 32));
    ASSERT_TRUE(paste->isEnabled());
    paste->trigger();
    ASSERT_EQ(w.Pane2().IconDirectory().Count(), 1);
    EXPECT_EQ(w.Pane2().IconDirectory().GetEntry(0).BitCount, 32);

    // The pasted image shows the copied picture: both render alike over the same colour.
    TBitmap original = w.Pane1().IconDirectory().RenderImageToBitmap(0, 0xFF00FF);
    TBitmap pasted = w.Pane2().IconDirectory().RenderImageToBitmap(0, 0xFF00FF);
    ConvertPixelFormat(original, TPixelFormat::pf32bit);
    ConvertPixelFormat(pasted, TPixelFormat::pf32bit);
    for (int y : { 0, 7, 31 })
        for (int x : { 1, 9, 30 })
            EXPECT_EQ(GetPixelColor(pasted, x, y), GetPixelColor(original, x, y)) << x << "," << y;

    QApplication::clipboard()->setText(QStringLiteral("no picture"));
    EXPECT_FALSE(paste->isEnabled());
    EXPECT_FALSE(w.Window.FrameIcon1()->Action(TPaneAction::EditPaste)->isEnabled());
    EXPECT_TRUE(w.Errors.empty());
}

} // namespace velmora::test

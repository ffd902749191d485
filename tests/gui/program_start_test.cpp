// What a desktop start gives the window: icon files named on the command line open in both
// panes, and the program's own icon is there without an installed icon theme.

#include "core/icon_test_files.h"
#include "program_icon.h"
#include "started_window.h"

namespace velmora::test
{

TEST(ProgramStartTest, IconArgumentsOpenAndTheBuiltInIconHoldsEverySize)
{
    const QIcon icon = EmbeddedProgramIcon();
    for (int side : { 16, 24, 32, 48, 64, 128, 256 }) {
        SCOPED_TRACE(side);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side)));
        // Up to 64 pixels the picture comes from the built .ico, through the core's decoder;
        // it must be the 32-bit image, with the soft edges of the theme's picture.
        const QString png = QStringLiteral(VELMORA_THEME_ICON_DIR "/%1x%1/apps/%2.png")
                                .arg(side)
                                .arg(QString::fromLatin1(ProgramIconName));
        const QImage expected(png);
        ASSERT_FALSE(expected.isNull()) << png.toStdString();
        const auto format = QImage::Format_ARGB32_Premultiplied;
        EXPECT_EQ(
            icon.pixmap(side).toImage().convertToFormat(format), expected.convertToFormat(format));
    }
    // The application and so every window carry an icon, from the theme or built in.
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    TTempDir dir;
    const std::string a = dir.Path("a.ico").string();
    const std::string b = dir.Path("b.ICO").string();
    WriteFile(a, MakeIconFile({ BmpImage(16, 16, 32), BmpImage(32, 32, 8) }));
    WriteFile(b, MakeIconFile({ BmpImage(48, 48, 24) }));
    TStartedWindow w(false, { QString::fromStdString(a), QString::fromStdString(b) });
    EXPECT_FALSE(w.Window.windowIcon().isNull());
    // Two icon arguments open in panes 1 and 2, and the toolbars follow.
    EXPECT_EQ(w.Pane1().IconDirectory().FileName(), a);
    EXPECT_EQ(w.Pane2().IconDirectory().FileName(), b);
    for (TFrameIconDirectory* frame : { w.Window.FrameIcon1(), w.Window.FrameIcon2() })
        EXPECT_TRUE(frame->Action(TPaneAction::IconSave)->isEnabled());
    EXPECT_TRUE(w.Prompts.Messages.empty() && w.Errors.empty());
}

} // namespace velmora::test

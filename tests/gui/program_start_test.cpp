// What a desktop start gives the window: icon files named on the command line open in both
// panes, and the program's own icon is there without an installed icon theme.

#include "application.h"
#include "core/icon_test_files.h"
#include "fakes/fake_pane_platform.h"
#include "frame_icon_directory.h"
#include "main_window.h"
#include "program_icon.h"

#include <QAction>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace velmora::test
{

namespace
{

/// A main window started with the arguments over scripted prompts.
struct TArgumentsWindow {
    TFakePanePlatform Prompts;
    TFakeClipboard Clipboard;
    TFormQEBMain Window;
    std::vector<std::string> Errors;

    explicit TArgumentsWindow(const QStringList& arguments)
        : Window(arguments, &Prompts, &Clipboard)
    {
        App()->SetErrorHandler([this](const std::string& text) { Errors.push_back(text); });
        QSignalSpy started(&Window, &TFormQEBMain::StartupDone);
        Window.show();
        EXPECT_TRUE(started.count() == 1 || started.wait(5000));
    }
    ~TArgumentsWindow() { App()->SetErrorHandler({}); }
    TArgumentsWindow(const TArgumentsWindow&) = delete;
    TArgumentsWindow& operator=(const TArgumentsWindow&) = delete;

    static TVelmoraApplication* App()
    {
        return static_cast<TVelmoraApplication*>(QCoreApplication::instance());
    }
    bool SaveEnabled(TFrameIconDirectory* frame)
    {
        const auto* action = frame->findChild<QAction*>(QStringLiteral("ActionIconSave"));
        return action && action->isEnabled();
    }
};

QImage Premultiplied(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

TEST(ProgramStartTest, TwoIconArgumentsOpenBothPanes)
{
    TTempDir dir;
    const std::string a = dir.Path("a.ico").string();
    const std::string b = dir.Path("b.ICO").string();
    WriteFile(a, MakeIconFile({ BmpImage(16, 16, 32), BmpImage(32, 32, 8) }));
    WriteFile(b, MakeIconFile({ BmpImage(48, 48, 24) }));

    TArgumentsWindow w({ QString::fromStdString(a), QString::fromStdString(b) });
    EXPECT_EQ(w.Window.FrameIcon1()->Pane().IconDirectory().FileName(), a);
    EXPECT_EQ(w.Window.FrameIcon1()->Pane().IconDirectory().Count(), 2);
    EXPECT_EQ(w.Window.FrameIcon2()->Pane().IconDirectory().FileName(), b);
    EXPECT_EQ(w.Window.FrameIcon2()->Pane().IconDirectory().Count(), 1);
    // The toolbars follow: what each pane holds can be saved.
    EXPECT_TRUE(w.SaveEnabled(w.Window.FrameIcon1()));
    EXPECT_TRUE(w.SaveEnabled(w.Window.FrameIcon2()));
    EXPECT_TRUE(w.Prompts.Messages.empty());
    EXPECT_TRUE(w.Errors.empty());
}

TEST(ProgramStartTest, TheBuiltInIconHoldsTheThemePicturesOfEverySize)
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
        EXPECT_EQ(Premultiplied(icon.pixmap(side).toImage()), Premultiplied(expected));
    }
    // The application and so every window carry an icon, from the theme or built in.
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    TArgumentsWindow w({});
    EXPECT_FALSE(w.Window.windowIcon().isNull());
}

} // namespace velmora::test

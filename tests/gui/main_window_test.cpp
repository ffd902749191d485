#include "core/icon_test_files.h"
#include "menu_entry.h"
#include "started_window.h"

#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <algorithm>

namespace velmora::test
{

namespace
{

using A = TPaneAction;

std::string ThreeImageIcon(const TTempDir& dir)
{
    const std::string path = dir.Path("three.ico").string();
    WriteFile(path, MakeIconFile({ BmpImage(16, 16, 4), BmpImage(32, 32, 8), PngImage(48, 48) }));
    return path;
}

} // namespace

TEST(MainWindowTest, StartsWithPairedPanesAndWiredMenus)
{
    TStartedWindow w;
    EXPECT_EQ(w.Pane1().PartnerPane(), &w.Pane2());
    EXPECT_EQ(w.Pane2().PartnerPane(), &w.Pane1());

    // The entries that the start-up work binds carry their captions and act on their pane.
    struct TRow {
        const char* Entry;
        TFrameIconDirectory* Pane;
        A Action;
    };
    const std::vector<TRow> rows {
        { "MIImageSort_1", w.Window.FrameIcon1(), A::ImageSort },
        { "MIImageInsertFrom_2", w.Window.FrameIcon2(), A::ImageInsertFrom },
        { "MIIconZoom_300_2", w.Window.FrameIcon2(), A::IconZoom300 },
    };
    EXPECT_EQ(w.Find<TMenuEntry>("New1")->text(), QStringLiteral("&New\tCtrl+N"));
    for (const TRow& row : rows) {
        auto* entry = w.Find<TMenuEntry>(row.Entry);
        ASSERT_NE(entry, nullptr) << row.Entry;
        EXPECT_EQ(entry->BoundAction(), row.Pane->Action(row.Action)) << row.Entry;
        // The caption, then the key after a tab for the menu's shortcut column.
        EXPECT_EQ(
            entry->text().section(QLatin1Char('\t'), 0, 0), row.Pane->Action(row.Action)->text())
            << row.Entry;
    }
    w.Find<TMenuEntry>("MIIconZoom_300_2")->trigger();
    EXPECT_EQ(w.Pane2().Zoom(), 3);
    EXPECT_EQ(w.Pane1().Zoom(), 1);
}

TEST(MainWindowTest, ShortcutsFollowMenuOrder)
{
    TTempDir dir;
    TStartedWindow w;
    const std::string path = ThreeImageIcon(dir);
    w.Pane2().OpenIconFile(path);
    ASSERT_EQ(w.Pane2().IconDirectory().Count(), 3);
    w.Window.activateWindow();

    // The keys go to the focused pane, pane 1: its Close is disabled, so nothing happens.
    QTest::keyClick(w.Window.windowHandle(), Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.Pane2().IconDirectory().Count(), 3);

    // Ctrl+O opens in pane 1.
    w.Prompts.OpenAnswers.push_back({ path });
    QTest::keyClick(w.Window.windowHandle(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(w.Pane1().IconDirectory().Count(), 3);

    // Now pane 1's Close is enabled and takes the key.
    QTest::keyClick(w.Window.windowHandle(), Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.Pane1().IconDirectory().Count(), 0);
    EXPECT_EQ(w.Pane2().IconDirectory().Count(), 3);

    // Ctrl+S saves pane 1 only while its Save is enabled; Ctrl+Shift+S asks for the name.
    QTest::keyClick(w.Window.windowHandle(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(w.Prompts.SaveAnswers.empty());
    w.Pane1().OpenIconFile(path);
    w.Pane1().UpdateActions();
    const std::string saved = dir.Path("saved.ico").string();
    w.Prompts.SaveAnswers.push_back(saved);
    QTest::keyClick(w.Window.windowHandle(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ReadFile(saved), ReadFile(path));
}

TEST(MainWindowTest, SplitterSetsTheMinimumWidth)
{
    TStartedWindow w;
    QSplitter* splitter = w.Window.SplitterMainBottom();
    QSplitterHandle* handle = splitter->handle(1);
    const int left = handle->mapTo(&w.Window, QPoint(0, 0)).x();
    const int frame = w.Window.frameGeometry().width() - w.Window.width();
    EXPECT_EQ(w.Window.minimumWidth() + frame, left + 64);

    // Drag the splitter 113 pixels to the right: the minimum follows on release.
    const QPoint start(handle->width() / 2, 20);
    QTest::mousePress(handle, Qt::LeftButton, {}, start);
    QTest::mouseMove(handle, start + QPoint(113, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, start + QPoint(113, 0));
    const int moved = handle->mapTo(&w.Window, QPoint(0, 0)).x();
    EXPECT_EQ(moved, left + 113);
    EXPECT_EQ(w.Window.minimumWidth() + frame, moved + 64);
}

TEST(MainWindowTest, HintsReachTheStatusBar)
{
    // A pane button's hint reaches the window's status bar; of "short|long" the long part.
    TStartedWindow w;
    auto* button = w.Window.FrameIcon2()->findChild<QToolButton*>(
        QStringLiteral("ToolButtonImageImportBitmap"));
    ASSERT_NE(button, nullptr);
    QStatusTipEvent tip(QStringLiteral("Import|") + button->statusTip());
    QCoreApplication::sendEvent(button, &tip);
    EXPECT_EQ(
        w.Window.statusBar()->currentMessage(), QStringLiteral("Import image from bitmap file"));
}

TEST(MainWindowTest, OverflowButtonOffersHiddenButtons)
{
    TStartedWindow w;
    TFrameIconDirectory* frame = w.Window.FrameIcon2();
    auto* more = frame->findChild<QWidget*>(QStringLiteral("PanelToolBarMore"));
    auto* exportButton
        = frame->findChild<QToolButton*>(QStringLiteral("ToolButtonImageExportBitmap"));
    ASSERT_NE(more, nullptr);
    w.Window.resize(1400, w.Window.height());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !more->isVisible(); }, 5000));
    EXPECT_TRUE(exportButton->isVisible());

    // Narrow the right pane until the export button no longer fits.
    w.Window.SplitterMainBottom()->setSizes({ w.Window.width() - 160, 150 });
    EXPECT_TRUE(QTest::qWaitFor([&] { return more->isVisible(); }, 5000));
    EXPECT_FALSE(exportButton->isVisible());
    auto* menu = frame->findChild<QMenu*>(QStringLiteral("PopupMenuToolBar"));
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> entries = menu->actions();
    EXPECT_TRUE(std::any_of(entries.begin(), entries.end(), [](QAction* entry) {
        return entry->isVisible() && entry->text() == QStringLiteral("E&xport to bitmap...");
    }));
}

} // namespace velmora::test

#include "core/icon_test_files.h"
#include "started_window.h"

namespace velmora::test
{

using A = TPaneAction;

TEST(WindowKeys, EditKeysGoToTheFocusedPane)
{
    TTempDir dir;
    TStartedWindow w;
    TFrameIconDirectory* frame1 = w.Window.FrameIcon1();
    TFrameIconDirectory* frame2 = w.Window.FrameIcon2();
    EXPECT_EQ(w.Window.FocusedPane(), frame1);
    EXPECT_TRUE(frame1->FocusMarked());
    const std::string path = dir.Path("two.ico").string();
    WriteFile(path, MakeIconFile({ BmpImage(16, 16, 24), BmpImage(32, 32, 24) }));
    w.Pane1().OpenIconFile(path);
    w.Pane2().OpenIconFile(path);
    w.Pane1().UpdateActions();

    // F6 and Ctrl+Tab move between the panes; the mark follows.
    QTest::keyClick(&w.Window, Qt::Key_F6);
    EXPECT_EQ(w.Window.FocusedPane(), frame2);
    EXPECT_TRUE(frame2->FocusMarked());
    EXPECT_FALSE(frame1->FocusMarked());
    QTest::keyClick(&w.Window, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w.Window.FocusedPane(), frame1);
    QTest::keyClick(&w.Window, Qt::Key_F6);
    ASSERT_EQ(w.Window.FocusedPane(), frame2);

    // Ctrl+X cuts in pane 2 although pane 1's menu comes first; Ctrl+Z and Ctrl+Y undo and redo
    // it there, and the menus name the step.
    w.Pane2().StringGridMainClick({ 1, 1, 1, 1 });
    w.Pane2().UpdateActions();
    QTest::keyClick(&w.Window, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(w.Pane2().IconDirectory().Count(), 1);
    EXPECT_EQ(w.Pane1().IconDirectory().Count(), 2);
    QAction* undo2 = w.Find<QAction>("MIEditUndo_2");
    ASSERT_NE(undo2, nullptr);
    EXPECT_EQ(undo2->text(), QStringLiteral("&Undo Cut image\tCtrl+Z"));
    QTest::keyClick(&w.Window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Pane2().IconDirectory().Count(), 2);
    QTest::keyClick(&w.Window, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.Pane2().IconDirectory().Count(), 1);
    EXPECT_FALSE(w.Pane1().IsEnabled(A::EditUndo));
    // The file keys go to the focused pane as well, and the pane they empty keeps the focus.
    w.Prompts.SaveChangesAnswers = { TSaveChangesAnswer::Discard };
    QTest::keyClick(&w.Window, Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.Pane2().IconDirectory().Count(), 0);
    EXPECT_EQ(w.Pane1().IconDirectory().Count(), 2);
    EXPECT_EQ(w.Window.FocusedPane(), frame2);
    // The empty pane holds the focus and takes the grid's keys: F11 asks for a bitmap.
    ASSERT_EQ(QApplication::focusWidget(), frame2);
    w.Prompts.OpenAnswers = { {} };
    QTest::keyClick(frame2, Qt::Key_F11);
    ASSERT_EQ(w.Prompts.Dialogs.size(), 1U);
    EXPECT_EQ(w.Prompts.Dialogs.back().Title, "Import image from bitmap...");
    QTest::keyClick(&w.Window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Pane2().IconDirectory().Count(), 1);
    EXPECT_TRUE(w.Errors.empty());

    // Closing the window asks about pane 2's changes: Cancel keeps it open, Discard closes.
    w.Prompts.SaveChangesAnswers = { TSaveChangesAnswer::Cancel };
    EXPECT_FALSE(w.Window.close());
    EXPECT_TRUE(w.Window.isVisible());
    w.Prompts.SaveChangesAnswers = { TSaveChangesAnswer::Discard };
    EXPECT_TRUE(w.Window.close());
    EXPECT_EQ(w.Prompts.SaveChangesQuestions,
        std::vector<std::string>(3, "Save changes to two.ico in icon #2?"));
}

} // namespace velmora::test

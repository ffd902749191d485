#include "started_window.h"

#include <QMenu>
#include <QMenuBar>
#include <set>

namespace velmora::test
{

TEST(MenuMnemonics, EveryEntryOfEveryMenuHasItsOwn)
{
    TStartedWindow w;
    QList<QList<QAction*>> menus { w.Window.menuBar()->actions() };
    for (const QMenu* menu : w.Window.findChildren<QMenu*>())
        menus << menu->actions();
    QStringList faults;
    for (const QList<QAction*>& actions : menus) {
        // An entry without a mnemonic meets the empty one.
        std::set<QString> taken { QString() };
        for (const QAction* action : actions)
            if (!action->isSeparator() && action->isVisible()
                && !taken.insert(QKeySequence::mnemonic(action->text()).toString()).second)
                faults << action->text();
    }
    EXPECT_EQ(faults.join(QLatin1Char('\n')).toStdString(), "");

    // The zoom submenu marks the zoom of its pane; Ctrl++ steps it.
    const auto* zoom200 = w.Find<QAction>("MIIconZoom_200_1");
    ASSERT_NE(zoom200, nullptr);
    EXPECT_FALSE(zoom200->isChecked());
    QTest::keyClick(&w.Window, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_TRUE(zoom200->isChecked());
}

} // namespace velmora::test

#include "started_window.h"

#include <QMenu>
#include <QMenuBar>
#include <map>

namespace velmora::test
{

namespace
{

// The letter after the single "&" of a caption, upper case; 0 when there is none.
QChar Mnemonic(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toUpper();
        ++i;
    }
    return {};
}

// Every shown entry of the actions has a mnemonic of its own; the faults, one line each.
QStringList MnemonicFaults(const QString& where, const QList<QAction*>& actions)
{
    QStringList faults;
    std::map<QChar, QString> taken;
    for (const QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible() || action->text().isEmpty())
            continue;
        const QChar letter = Mnemonic(action->text());
        if (letter.isNull())
            faults << where + QStringLiteral(": no mnemonic in ") + action->text();
        else if (const auto [at, added] = taken.emplace(letter, action->text()); !added)
            faults << where + QStringLiteral(": ") + action->text() + QStringLiteral(" and ")
                    + at->second;
    }
    return faults;
}

} // namespace

TEST(MenuMnemonics, EveryEntryOfEveryMenuHasItsOwn)
{
    TStartedWindow w;
    QStringList faults = MnemonicFaults(QStringLiteral("menu bar"), w.Window.menuBar()->actions());
    for (const QMenu* menu : w.Window.findChildren<QMenu*>())
        faults << MnemonicFaults(
            menu->title().isEmpty() ? menu->objectName() : menu->title(), menu->actions());
    EXPECT_EQ(faults.join(QLatin1Char('\n')).toStdString(), "");

    // The zoom submenu marks the zoom of its pane; Ctrl++ steps it.
    const auto* zoom200 = w.Find<QAction>("MIIconZoom_200_1");
    ASSERT_NE(zoom200, nullptr);
    EXPECT_FALSE(zoom200->isChecked());
    QTest::keyClick(&w.Window, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_TRUE(zoom200->isChecked());
    EXPECT_FALSE(w.Find<QAction>("MIIconZoom_100_1")->isChecked());
}

} // namespace velmora::test

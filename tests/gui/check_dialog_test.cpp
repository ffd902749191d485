#include "check/icon_check.h"
#include "check_dialog.h"
#include "core/icon_test_files.h"
#include "started_window.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace velmora::test
{
namespace
{

// The dialog shows the check's findings; a row selects its entry's cell; a repair button is
// one step that undo takes back.
TEST(CheckDialogTest, ShowsFindingsSelectsCellsAndRepairsAsOneStep)
{
    TTempDir dir;
    TImageRecipe recipe { 16, 16, 32 };
    recipe.Pixel = [](int, int) { return 0x112233u; }; // alpha all 0
    WriteFile(dir.Path("a.ico"),
        MakeIconFile({ BmpImage(32, 32, 24), { BuildImage(recipe), 16, 16, 32 } }));
    TStartedWindow w(false, { QString::fromStdString(dir.Path("a.ico").string()) });
    TIconPane& pane = w.Pane1();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.IconDirectory().Count() == 2; }, 5000));
    QAction* entry = w.Window.FrameIcon1()->findChild<QAction*>(QStringLiteral("MI_IconCheck"));
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    auto* dialog = w.Window.FrameIcon1()->findChild<TCheckDialog*>();
    ASSERT_NE(dialog, nullptr);
    auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("TreeFindings"));
    const std::vector<TFinding> findings = CheckIconDocument(pane.IconDirectory());
    ASSERT_EQ(list->topLevelItemCount(), static_cast<int>(findings.size()));
    int row = 0;
    while (findings[static_cast<size_t>(row)].Rule != "alpha-zero")
        ++row;
    EXPECT_EQ(list->topLevelItem(row)->text(1), QStringLiteral("warning"));
    list->setCurrentItem(list->topLevelItem(row));
    EXPECT_EQ(pane.SelectedImages().Lines(), std::vector<std::string> { "1" });

    auto* repair = dialog->findChild<QPushButton*>(QStringLiteral("ButtonRepair1"));
    ASSERT_NE(repair, nullptr);
    EXPECT_EQ(repair->text(), QStringLiteral("Take alpha from AND masks"));
    repair->click();
    EXPECT_FALSE(AnyAboveNote(CheckIconDocument(pane.IconDirectory())));
    EXPECT_EQ(pane.History().UndoCount(), 1u);
    pane.Undo();
    EXPECT_TRUE(AnyAboveNote(CheckIconDocument(pane.IconDirectory())));
}

} // namespace
} // namespace velmora::test

#include "core/icon_test_files.h"
#include "image_grid_view.h"
#include "started_window.h"

#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test
{
namespace
{

// A press on the empty area beside or below the cells, or a drag that starts there, leaves
// the selected range and the selected images as they were.
TEST(ImageGridClickTest, ClicksOutsideTheCellsKeepTheSelection)
{
    TTempDir dir;
    WriteFile(dir.Path("a.ico"),
        MakeIconFile({ BmpImage(16, 16, 4), BmpImage(32, 32, 4), BmpImage(16, 16, 8),
            BmpImage(32, 32, 8) }));
    TStartedWindow w(false, { QString::fromStdString(dir.Path("a.ico").string()) });
    w.Window.resize(900, 700);
    auto* grid
        = w.Window.FrameIcon1()->findChild<TImageGridView*>(QStringLiteral("StringGridMain"));
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->isVisible(); }, 5000));
    TIconPane& pane = w.Pane1();
    pane.StringGridMainClick({ 1, 1, 2, 2 });
    grid->Rebuild();
    const std::vector<std::string> selected = pane.SelectedImages().Lines();
    ASSERT_EQ(selected.size(), 4u);

    QWidget* viewport = grid->viewport();
    const int cellsRight = grid->horizontalHeader()->length();
    const int cellsBottom = grid->verticalHeader()->length();
    ASSERT_LT(cellsRight + 10, viewport->width());
    ASSERT_LT(cellsBottom + 10, viewport->height());
    const QPoint outside[]
        = { { cellsRight + 5, 5 }, { 5, cellsBottom + 5 }, { cellsRight + 5, cellsBottom + 5 } };
    for (const QPoint& point : outside) {
        QTest::mouseClick(viewport, Qt::LeftButton, {}, point);
        QTest::mousePress(viewport, Qt::LeftButton, {}, point);
        QTest::mouseMove(viewport, QPoint(3, 3));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(pane.Grid().Selection(), (TGridRect { 1, 1, 2, 2 }));
        EXPECT_EQ(pane.SelectedImages().Lines(), selected);
    }
    // A click on a cell still selects it.
    const QRect cell = grid->visualRect(grid->model()->index(0, 0));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(pane.Grid().Selection(), (TGridRect { 1, 1, 1, 1 }));
    EXPECT_TRUE(w.Errors.empty());
}

} // namespace
} // namespace velmora::test

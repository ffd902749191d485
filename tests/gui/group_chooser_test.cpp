#include "qt_prompts.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace velmora::test
{

// The chooser of a program's groups: each group drawn in one square size, the arrow keys move,
// Enter opens the current group and Esc cancels.
TEST(GroupChooserTest, ArrowKeysAndEnterChooseEscCancels)
{
    TQtPrompts prompts(nullptr);
    const std::vector<TFrameChoice> groups {
        { TBitmap(64, 32, TPixelFormat::pf32bit), "Icon group 1" }, { TBitmap(), "Cursor group 2" }
    };
    const auto press = [](Qt::Key key) {
        QTimer::singleShot(0, [key] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_TRUE(dialog && dialog->objectName() == QStringLiteral("DialogChooseGroup"));
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("ListGroups"));
            ASSERT_TRUE(list && list->count() == 2);
            EXPECT_EQ(list->item(0)->icon().availableSizes().value(0), QSize(48, 48));
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, key);
        });
    };
    press(Qt::Key_Return);
    EXPECT_EQ(prompts.ChooseGroup("Open a group of a.dll", groups), 1);
    press(Qt::Key_Escape);
    EXPECT_EQ(prompts.ChooseGroup("Open a group of a.dll", groups), std::nullopt);
}

} // namespace velmora::test

#include "core/icon_test_files.h"
#include "file_dialog_setup.h"

#include <QFileDialog>
#include <QLabel>
#include <gtest/gtest.h>

namespace velmora::test
{

TEST(FileDialog, PreviewsTheIconUnderTheCursorAndRemembersTheFolder)
{
    TTempDir dir;
    const std::string icon = dir.Path("a.ico").string();
    WriteFile(icon, MakeIconFile({ BmpImage(16, 16, 8), BmpImage(48, 48, 24) }));
    QFileDialog first;
    PrepareFileDialog(first);
    auto* preview = first.findChild<QLabel*>(QStringLiteral("FilePreview"));
    ASSERT_NE(preview, nullptr);
    emit first.currentChanged(QString::fromStdString(icon));
    // The largest image, enlarged three times so that its pixels show.
    EXPECT_EQ(preview->pixmap().size(), QSize(144, 144));
    emit first.currentChanged(QString::fromStdString(dir.Path("missing.bmp").string()));
    EXPECT_TRUE(preview->pixmap().isNull());

    first.setDirectory(QString::fromStdString(dir.Root().string()));
    RememberDialogFolder(first);
    QFileDialog second;
    PrepareFileDialog(second);
    EXPECT_EQ(second.directory().absolutePath(), QString::fromStdString(dir.Root().string()));
}

} // namespace velmora::test

#include "core/pane_test_panes.h"
#include "frame_icon_directory.h"
#include "graphics/png_codec.h"
#include "qt_prompts.h"
#include "started_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QMimeData>
#include <QTimer>

namespace velmora::test
{

// A PNG with alpha offered by another program (as GIMP offers its copies) pastes as a 32-bit
// image that keeps the alpha.
TEST(PictureGuiTest, PastesAPngWithAlphaFromAnotherProgram)
{
    TStartedWindow w(true);
    const TBitmap picture = Rgba(20, 10, [](int x, int y) {
        return TBgra { 200, static_cast<uint8_t>(x * 10), 30, static_cast<uint8_t>(y * 25) };
    });
    const Bytes png = EncodePng(picture);
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("image/png"),
        QByteArray(reinterpret_cast<const char*>(png.data()), static_cast<qsizetype>(png.size())));
    QApplication::clipboard()->setMimeData(data.release());

    w.Pane1().UpdateActions();
    QAction* paste = w.Window.FrameIcon1()->Action(TPaneAction::EditPaste);
    ASSERT_TRUE(paste->isEnabled());
    paste->trigger();
    ASSERT_EQ(w.Pane1().IconDirectory().Count(), 1);
    EXPECT_EQ(Formats(w.Pane1().IconDirectory()), (TFormats { { 20, 10, 32 } }));
    EXPECT_TRUE(w.Errors.empty());
}

// The pane's action reaches the window's prompts for the picture and the sides.
TEST(PictureGuiTest, ImportsAPictureAtTheChosenSizes)
{
    TTempDir dir;
    WriteFile(dir.Path("big.png"), EncodePng(TBitmap(300, 300, TPixelFormat::pf32bit)));
    TStartedWindow w;
    w.Prompts.OpenAnswers.push_back({ dir.Path("big.png").string() });
    w.Prompts.SidesAnswers.push_back(std::vector<int> { 20, 256 });
    w.Window.FrameIcon1()->Action(TPaneAction::ImageImportSizes)->trigger();
    ASSERT_EQ(w.Pane1().IconDirectory().Count(), 2);
    EXPECT_EQ(w.Pane1().IconDirectory().GetEntry(1).ImageWidth(), 256);
    EXPECT_TRUE(w.Errors.empty());
}

// The sizes dialog ticks the sides chosen last and answers those ticked when confirmed.
TEST(PictureGuiTest, SizesDialogAnswersTheTickedSides)
{
    TQtPrompts prompts(nullptr);
    QTimer::singleShot(0, [] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(top);
            if (!dialog || dialog->objectName() != QStringLiteral("DialogImportSizes"))
                continue;
            auto* box16 = dialog->findChild<QCheckBox*>(QStringLiteral("CheckSize16"));
            auto* box32 = dialog->findChild<QCheckBox*>(QStringLiteral("CheckSize32"));
            ASSERT_TRUE(box16 && box32);
            EXPECT_FALSE(box16->isChecked());
            EXPECT_TRUE(box32->isChecked());
            QTest::mouseClick(box16, Qt::LeftButton, {}, QPoint(4, box16->height() / 2));
            box32->setChecked(false);
            dialog->accept();
        }
    });
    const std::optional<std::vector<int>> sides = prompts.ChooseSides({ 16, 32, 256 }, { 32, 256 });
    EXPECT_EQ(sides, (std::vector<int> { 16, 256 }));
}

// The PNG column: 256 always, the sizes below as ticked, as 8-bit RGBA; the others bitmaps.
TEST(PictureGuiTest, SizesDialogStoresTheTickedSidesAsPng)
{
    TTempDir dir;
    WriteFile(dir.Path("logo.png"), EncodePng(TBitmap(300, 300, TPixelFormat::pf32bit)));
    TFakeClipboard clipboard;
    TFrameIconDirectory frame(nullptr, nullptr, &clipboard);
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        auto* png256 = dialog->findChild<QCheckBox*>(QStringLiteral("CheckPngSize256"));
        EXPECT_TRUE(png256->isChecked() && !png256->isEnabled());
        dialog->findChild<QCheckBox*>(QStringLiteral("CheckPngSize32"))->setChecked(true);
        qobject_cast<QDialog*>(dialog)->accept();
    });
    frame.Pane().ImportPictureAskingSizes(dir.Path("logo.png").string());
    std::string stored; // each image's side and storage: "PNG colour type/depth" or "BMP"
    for (int i = 0; i < frame.Pane().IconDirectory().Count(); ++i) {
        const TIconDirectoryImage& image = frame.Pane().IconDirectory().GetImage(i);
        const Bytes& data = image.Icon->Data(); // a one-image icon file: the PNG starts at 22
        stored += std::to_string(frame.Pane().IconDirectory().GetEntry(i).ImageWidth())
            + (image.IsPng() ? " PNG " + std::to_string(data[47]) + "/" + std::to_string(data[46])
                             : " BMP")
            + ", ";
    }
    EXPECT_EQ(stored, "16 BMP, 24 BMP, 32 PNG 6/8, 48 BMP, 64 BMP, 128 BMP, 256 PNG 6/8, ");
}

} // namespace velmora::test

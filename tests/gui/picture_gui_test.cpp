#include "core/pane_test_panes.h"
#include "frame_icon_directory.h"
#include "graphics/png_codec.h"
#include "qt_prompts.h"
#include "started_window.h"
#include "support/byte_io.h"

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

// The sizes dialog's PNG column: 256 is always PNG, the sizes below as ticked; the written icon
// holds those sizes as 8-bit RGBA PNG streams and the others as bitmaps.
TEST(PictureGuiTest, SizesDialogStoresTheTickedSidesAsPng)
{
    TTempDir dir;
    WriteFile(dir.Path("logo.png"), EncodePng(TBitmap(300, 300, TPixelFormat::pf32bit)));
    TFakeClipboard clipboard;
    TFrameIconDirectory frame(nullptr, nullptr, &clipboard);
    QTimer::singleShot(0, [] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(top);
            if (!dialog || dialog->objectName() != QStringLiteral("DialogImportSizes"))
                continue;
            auto box = [dialog](const char* name) {
                return dialog->findChild<QCheckBox*>(QString::fromLatin1(name));
            };
            for (QCheckBox* size : dialog->findChildren<QCheckBox*>()) {
                const QString name = size->objectName();
                if (name.startsWith(QStringLiteral("CheckSize")))
                    size->setChecked(name.endsWith(QStringLiteral("Size16"))
                        || name.endsWith(QStringLiteral("Size32"))
                        || name.endsWith(QStringLiteral("Size256")));
            }
            ASSERT_TRUE(box("CheckPngSize256")->isChecked());
            EXPECT_FALSE(box("CheckPngSize256")->isEnabled());
            EXPECT_FALSE(box("CheckPngSize32")->isChecked());
            box("CheckPngSize32")->setChecked(true);
            box("CheckPngSize48")->setChecked(true); // a size not made stores nothing
            dialog->accept();
        }
    });
    frame.Pane().ImportPictureAskingSizes(dir.Path("logo.png").string());
    ASSERT_TRUE(frame.Pane().IconDirectory().SaveToFile(dir.Path("out.ico").string()));

    const Bytes file = ReadFile(dir.Path("out.ico"));
    std::vector<std::pair<int, std::string>> stored; // (width, "PNG 6/8" or "BMP")
    for (size_t i = 0; i < ReadU16(file.data() + 4); ++i) {
        const uint8_t* entry = file.data() + 6 + 16 * i;
        const uint8_t* data = file.data() + ReadU32(entry + 12);
        const bool png = data[1] == 'P' && data[2] == 'N' && data[3] == 'G';
        stored.emplace_back(entry[0] == 0 ? 256 : entry[0],
            png ? "PNG " + std::to_string(data[25]) + "/" + std::to_string(data[24]) : "BMP");
    }
    EXPECT_EQ(stored,
        (std::vector<std::pair<int, std::string>> {
            { 16, "BMP" }, { 32, "PNG 6/8" }, { 256, "PNG 6/8" } }));
}

} // namespace velmora::test

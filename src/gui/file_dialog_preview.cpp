#include "file_dialog_setup.h"
#include "graphics/icon_decoder.h"
#include "icons/icon_directory.h"
#include "pane/program_group_choices.h"
#include "programs/byte_source.h"
#include "programs/program_icon_groups.h"
#include "qt_bitmap.h"
#include "support/file_io.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QTreeView>

namespace velmora
{

namespace
{

constexpr int PreviewSize = 160;
// Larger files are not read for a preview: browsing must stay quick.
constexpr qint64 PreviewFileLimit = 8 << 20;

QString& LastFolder()
{
    static QString folder;
    return folder;
}

// The largest image of an icon file, as the document reads and draws it.
QImage IconPreview(const QString& file)
{
    TIconDirectory document;
    if (!document.LoadFromFile(QFile::encodeName(file).toStdString()) || document.Count() == 0)
        return {};
    int best = 0;
    for (int i = 1; i < document.Count(); ++i) {
        const TIconDirectoryEntry& a = document.GetEntry(i);
        const TIconDirectoryEntry& b = document.GetEntry(best);
        if (a.ImageWidth() * a.ImageHeight() > b.ImageWidth() * b.ImageHeight()
            || (a.ImageWidth() == b.ImageWidth() && a.BitCount > b.BitCount))
            best = i;
    }
    return ToQImage(DecodeIcon(*document.GetImage(best).Icon).Pixels)
        .convertToFormat(QImage::Format_ARGB32);
}

// The largest image of a program's first group. The reader reads the resource tables and
// that image only, so a program of any size is previewed.
QImage ProgramPreview(const std::string& file)
{
    const std::unique_ptr<TFileReader> reader = TFileReader::OpenIfFile(file);
    if (!reader)
        return {};
    const TByteSource source(*reader);
    const TProgramIcons icons(source);
    if (icons.Groups().empty())
        return {};
    return ToQImage(ProgramGroupPicture(icons, icons.Groups().front()))
        .convertToFormat(QImage::Format_ARGB32);
}

QImage Preview(const QString& file)
{
    const QFileInfo info(file);
    const std::string name = QFile::encodeName(file).toStdString();
    try {
        if (info.isFile() && IsProgramFileName(name))
            return ProgramPreview(name);
    } catch (...) {
        return {};
    }
    if (!info.isFile() || info.size() > PreviewFileLimit)
        return {};
    try {
        if (file.endsWith(QLatin1String(".ico"), Qt::CaseInsensitive))
            return IconPreview(file);
    } catch (...) {
        return {};
    }
    QImageReader reader(file);
    // A picture far larger than the preview is read at the preview's size.
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > 4 * PreviewSize || size.height() > 4 * PreviewSize))
        reader.setScaledSize(size.scaled(PreviewSize, PreviewSize, Qt::KeepAspectRatio));
    return reader.read();
}

void ShowPreview(QLabel* label, const QString& file)
{
    QImage picture = Preview(file);
    if (picture.isNull()) {
        label->setPixmap({});
        label->setText(QFileDialog::tr("No preview"));
        return;
    }
    // Small icons are shown larger, without smoothing, so that their pixels can be seen.
    const int factor = std::max(1, PreviewSize / std::max(picture.width(), picture.height()));
    if (factor > 1)
        picture = picture.scaled(picture.size() * factor);
    else if (picture.width() > PreviewSize || picture.height() > PreviewSize)
        picture = picture.scaled(
            PreviewSize, PreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    label->setPixmap(QPixmap::fromImage(picture));
}

} // namespace

void PrepareFileDialog(QFileDialog& dialog)
{
    // Qt's own dialog: it takes the preview beside its list.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!LastFolder().isEmpty())
        dialog.setDirectory(LastFolder());
    QSize size(860, 520);
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog.resize(size);
    // The names take the room; sizes, kinds and dates show whole.
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    auto* layout = qobject_cast<QGridLayout*>(dialog.layout());
    if (!layout)
        return;
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("FilePreview"));
    preview->setFixedSize(PreviewSize + 8, PreviewSize + 8);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    layout->addWidget(preview, 1, layout->columnCount(), 1, 1, Qt::AlignTop);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
        [preview](const QString& file) { ShowPreview(preview, file); });
    ShowPreview(preview, QString());
}

void RememberDialogFolder(const QFileDialog& dialog)
{
    LastFolder() = dialog.directory().absolutePath();
}

} // namespace velmora

// The sizes dialog with a source per size: each size shows the picture it will get and the
// file it comes from, and may be given a file of its own.

#include "messages/messages.h"
#include "qt_bitmap.h"
#include "qt_prompts.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora
{

namespace
{

// The largest preview shown; larger sizes are shown scaled down to it.
constexpr int PreviewSide = 48;
// Sizes from which images are always stored as PNG.
constexpr int PngAlwaysFrom = 256;

QString ShortName(const std::string& file)
{
    return QFileInfo(QString::fromStdString(file)).fileName();
}

// One row of the dialog: a size, its preview and its source.
struct TSizeRow {
    int Side = 0;
    QCheckBox* Box = nullptr;
    QCheckBox* Png = nullptr; ///< stored PNG-compressed
    QLabel* Preview = nullptr;
    QLabel* Source = nullptr;
    QPushButton* Main = nullptr;
    std::string File; ///< empty: the main picture
};

void ShowSource(TSizeRow& row, const std::string& mainFile, const TSizePreview& preview)
{
    const TMadeSize made = preview(row.Side, row.File);
    if (made.Picture.Width() > 0) {
        const QPixmap picture = QPixmap::fromImage(ToQImage(made.Picture));
        const int shown = std::min(row.Side, PreviewSide);
        row.Preview->setPixmap(
            picture.scaled(shown, shown, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } else {
        row.Preview->clear();
    }
    QString text = row.File.empty() ? QObject::tr("from %1").arg(ShortName(mainFile))
                                    : QObject::tr("own file %1").arg(ShortName(row.File));
    // The reason goes into the tooltip, so that a long one does not widen the dialog.
    QString tip = QString::fromStdString(row.File.empty() ? mainFile : row.File);
    if (!made.Error.empty()) {
        text += QObject::tr(": not usable");
        tip += QStringLiteral("\n") + QString::fromStdString(made.Error);
    }
    row.Source->setText(text);
    row.Source->setToolTip(tip);
    row.Main->setEnabled(!row.File.empty());
}

} // namespace

std::optional<TSizesChoice> TQtPrompts::ChooseSizes(const std::vector<int>& offered,
    const std::vector<int>& chosen, const std::string& fileName, const TSizeSources& sources,
    const TSizePreview& preview)
{
    QDialog dialog(m_parent ? m_parent->window() : nullptr);
    dialog.setObjectName(QStringLiteral("DialogImportSizes"));
    dialog.setWindowTitle(UiText(Messages::ImportSizesTitle));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(
        new QLabel(QObject::tr("Sizes to make (32 bits per pixel with alpha) from %1:")
                       .arg(ShortName(fileName))));
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    std::vector<TSizeRow> rows(offered.size());
    TQtPrompts filePrompts(&dialog);
    for (size_t i = 0; i < offered.size(); ++i) {
        TSizeRow& row = rows[i];
        row.Side = offered[i];
        const int line = static_cast<int>(i);
        row.Box = new QCheckBox(QStringLiteral("%1 x %1").arg(row.Side));
        row.Box->setObjectName(QStringLiteral("CheckSize%1").arg(row.Side));
        row.Box->setChecked(std::find(chosen.begin(), chosen.end(), row.Side) != chosen.end());
        // Below 256 the default is a bitmap, which every reader takes, until the user ticks PNG
        // for a size; 256 is always PNG.
        row.Png = new QCheckBox(QObject::tr("PNG"));
        row.Png->setObjectName(QStringLiteral("CheckPngSize%1").arg(row.Side));
        row.Png->setChecked(row.Side >= PngAlwaysFrom
            || std::find(m_chosenPngSides.begin(), m_chosenPngSides.end(), row.Side)
                != m_chosenPngSides.end());
        row.Png->setEnabled(row.Side < PngAlwaysFrom);
        row.Png->setToolTip(row.Side >= PngAlwaysFrom
                ? QObject::tr("Images of 256 pixels are always stored PNG-compressed")
                : QObject::tr("Store this size PNG-compressed: a smaller file, read by "
                              "Windows Vista and later"));
        row.Preview = new QLabel;
        row.Preview->setObjectName(QStringLiteral("PreviewSize%1").arg(row.Side));
        row.Preview->setFixedSize(PreviewSide, std::min(row.Side, PreviewSide));
        row.Preview->setAlignment(Qt::AlignCenter);
        row.Source = new QLabel;
        row.Source->setObjectName(QStringLiteral("SourceSize%1").arg(row.Side));
        auto* pick = new QPushButton(QObject::tr("Own file..."));
        pick->setObjectName(QStringLiteral("ButtonSourceSize%1").arg(row.Side));
        row.Main = new QPushButton(QObject::tr("From main"));
        row.Main->setObjectName(QStringLiteral("ButtonMainSize%1").arg(row.Side));
        grid->addWidget(row.Box, line, 0);
        grid->addWidget(row.Png, line, 1);
        grid->addWidget(row.Preview, line, 2);
        grid->addWidget(row.Source, line, 3);
        grid->addWidget(pick, line, 4);
        grid->addWidget(row.Main, line, 5);
        if (const auto source = sources.find(row.Side); source != sources.end())
            row.File = source->second;
        ShowSource(row, fileName, preview);
        QObject::connect(pick, &QPushButton::clicked, &dialog, [&, i] {
            const TFileDialogSetup setup {
                QObject::tr("Own file for %1 x %1").arg(rows[i].Side).toStdString(),
                std::string(Messages::SizesPictureFilter), "png", false, {}
            };
            const std::vector<std::string> files = filePrompts.OpenFileDialog(setup);
            if (files.empty())
                return;
            rows[i].File = files.front();
            rows[i].Box->setChecked(true);
            ShowSource(rows[i], fileName, preview);
        });
        QObject::connect(row.Main, &QPushButton::clicked, &dialog, [&, i] {
            rows[i].File.clear();
            ShowSource(rows[i], fileName, preview);
        });
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (!rows.empty())
        rows.front().Box->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    TSizesChoice choice;
    // The PNG ticks are kept for the next use, also those of sizes not made this time.
    m_chosenPngSides.clear();
    for (const TSizeRow& row : rows) {
        if (row.Png->isChecked())
            m_chosenPngSides.push_back(row.Side);
        if (!row.Box->isChecked())
            continue;
        choice.Sides.push_back(row.Side);
        if (!row.File.empty())
            choice.Sources[row.Side] = row.File;
        if (row.Png->isChecked())
            choice.PngSides.push_back(row.Side);
    }
    return choice;
}

} // namespace velmora

// The chooser of an animated cursor's frame: one line per frame with its picture and its
// size and hotspot; Enter or a double click opens the frame.

#include "qt_bitmap.h"
#include "qt_prompts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>

namespace velmora
{

std::optional<int> TQtPrompts::ChooseFrame(
    const std::string& title, const std::vector<TFrameChoice>& frames)
{
    QDialog dialog(m_parent ? m_parent->window() : nullptr);
    dialog.setObjectName(QStringLiteral("DialogChooseFrame"));
    dialog.setWindowTitle(QString::fromStdString(title));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QObject::tr("Frame to open as a cursor:")));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("ListFrames"));
    list->setIconSize(QSize(48, 48));
    for (const TFrameChoice& frame : frames) {
        auto* item = new QListWidgetItem(QString::fromStdString(frame.Text), list);
        if (frame.Picture.Width() > 0)
            item->setIcon(QIcon(QPixmap::fromImage(ToQImage(frame.Picture))));
    }
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(420, 360);
    list->setFocus();
    if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0)
        return std::nullopt;
    return list->currentRow();
}

} // namespace velmora

// The choosers of an animated cursor's frame and of a program's icon or cursor group: one
// line per choice with its picture and its text; Enter or a double click opens the chosen
// one, Esc cancels.

#include "qt_bitmap.h"
#include "qt_prompts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace velmora
{

namespace
{

constexpr int PictureSide = 48;

// A choice's picture in the middle of a square of the list's picture size, made smaller when
// it is larger: all lines get one height and their texts one column.
QPixmap ChoicePixmap(const TBitmap& picture)
{
    QImage image = ToQImage(picture);
    if (image.width() > PictureSide || image.height() > PictureSide)
        image
            = image.scaled(PictureSide, PictureSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap square(PictureSide, PictureSide);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((PictureSide - image.width()) / 2, (PictureSide - image.height()) / 2, image);
    return square;
}

std::optional<int> RunChooser(QWidget* parent, const QString& objectName, const QString& listName,
    const std::string& title, const QString& label, const std::vector<TFrameChoice>& choices)
{
    QDialog dialog(parent ? parent->window() : nullptr);
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(QString::fromStdString(title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* caption = new QLabel(label);
    layout->addWidget(caption);
    auto* list = new QListWidget;
    list->setObjectName(listName);
    list->setIconSize(QSize(PictureSide, PictureSide));
    caption->setBuddy(list);
    for (const TFrameChoice& choice : choices) {
        auto* item = new QListWidgetItem(QString::fromStdString(choice.Text), list);
        if (choice.Picture.Width() > 0)
            item->setIcon(QIcon(ChoicePixmap(choice.Picture)));
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

} // namespace

std::optional<int> TQtPrompts::ChooseFrame(
    const std::string& title, const std::vector<TFrameChoice>& frames)
{
    return RunChooser(m_parent, QStringLiteral("DialogChooseFrame"), QStringLiteral("ListFrames"),
        title, QObject::tr("Frame to open as a cursor:"), frames);
}

std::optional<int> TQtPrompts::ChooseGroup(
    const std::string& title, const std::vector<TFrameChoice>& groups)
{
    return RunChooser(m_parent, QStringLiteral("DialogChooseGroup"), QStringLiteral("ListGroups"),
        title, QObject::tr("&Group to open:"), groups);
}

} // namespace velmora

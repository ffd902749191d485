// The dialog of "Import picture at several sizes...": which sides to make.

#include "messages/picture_messages.h"
#include "qt_prompts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora
{

std::optional<std::vector<int>> TQtPrompts::ChooseSides(
    const std::vector<int>& offered, const std::vector<int>& chosen)
{
    QDialog dialog(m_parent ? m_parent->window() : nullptr);
    dialog.setObjectName(QStringLiteral("DialogImportSizes"));
    dialog.setWindowTitle(UiText(Messages::ImportSizesTitle));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QObject::tr("Sizes to make (32 bits per pixel with alpha):")));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("ListSizes"));
    for (int side : offered) {
        auto* item = new QListWidgetItem(QStringLiteral("%1 x %1").arg(side), list);
        item->setData(Qt::UserRole, side);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        const bool checked = std::find(chosen.begin(), chosen.end(), side) != chosen.end();
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    // A click anywhere on a line, or Space on it, ticks it.
    QObject::connect(list, &QListWidget::itemActivated, list, [](QListWidgetItem* item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    list->setMinimumHeight(list->sizeHintForRow(0) * static_cast<int>(offered.size() + 1));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    list->setFocus();
    list->setCurrentRow(0);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<int> sides;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked)
            sides.push_back(list->item(row)->data(Qt::UserRole).toInt());
    }
    return sides;
}

} // namespace velmora

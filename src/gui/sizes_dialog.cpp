// The dialog of "Import picture at several sizes...": which sides to make.

#include "messages/messages.h"
#include "qt_prompts.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
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
    // One check box per side: a click on its text, or Space, ticks it.
    std::vector<QCheckBox*> boxes;
    for (int side : offered) {
        auto* box = new QCheckBox(QStringLiteral("%1 x %1").arg(side));
        box->setObjectName(QStringLiteral("CheckSize%1").arg(side));
        box->setChecked(std::find(chosen.begin(), chosen.end(), side) != chosen.end());
        layout->addWidget(box);
        boxes.push_back(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (!boxes.empty())
        boxes.front()->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<int> sides;
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i]->isChecked())
            sides.push_back(offered[i]);
    }
    return sides;
}

} // namespace velmora

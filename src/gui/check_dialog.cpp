#include "check_dialog.h"

#include "application.h"
#include "check/icon_check.h"
#include "check/icon_repair.h"
#include "check/pane_check.h"
#include "frame_icon_directory.h"
#include "messages/messages.h"
#include "qt_prompts.h"
#include "support/error.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmora
{

TCheckDialog::TCheckDialog(TFrameIconDirectory& frame)
    : QDialog(&frame)
    , m_frame(frame)
{
    setObjectName(QStringLiteral("CheckDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(720, 360);
    auto* layout = new QVBoxLayout(this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("TreeFindings"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({ tr("Entry"), tr("Level"), tr("Finding") });
    m_list->setWordWrap(true);
    m_list->header()->setStretchLastSection(true);
    layout->addWidget(m_list, 1);
    m_buttons = new QHBoxLayout;
    layout->addLayout(m_buttons);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
        [this] { RunGuarded([this] { RowChosen(); }); });
    Refresh();
}

void TCheckDialog::Refresh()
{
    const TIconDirectory& document = m_frame.Pane().IconDirectory();
    const std::string name = document.FileName().empty() ? std::string("") : document.FileName();
    setWindowTitle(UiText(FormatText(Messages::CheckDialogTitle, { name })));
    m_findings = CheckIconDocument(document);
    m_list->clear();
    for (const TFinding& finding : m_findings) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0,
            finding.Entry < 0 ? UiText(Messages::CheckFileLabel) : QString::number(finding.Entry));
        item->setText(1, UiText(LevelText(finding.Level)));
        item->setText(2, UiText(finding.Text));
        item->setToolTip(2, UiText(finding.Text));
    }
    if (m_findings.empty())
        new QTreeWidgetItem(m_list, { QString(), QString(), UiText(Messages::CheckNoFindings) });
    m_list->resizeColumnToContents(0);
    m_list->resizeColumnToContents(1);

    while (QLayoutItem* item = m_buttons->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int number = 0;
    for (TRepair repair : RepairsFor(m_findings)) {
        auto* button = new QPushButton(UiText(RepairCaption(repair)), this);
        button->setObjectName(QStringLiteral("ButtonRepair%1").arg(++number));
        connect(button, &QPushButton::clicked, this,
            [this, repair] { RunGuarded([this, repair] { Repair(repair); }); });
        m_buttons->addWidget(button);
    }
    m_buttons->addStretch(1);
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("ButtonClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    m_buttons->addWidget(close);
}

void TCheckDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        RunGuarded([this] { Refresh(); });
}

void TCheckDialog::RowChosen()
{
    const QList<QTreeWidgetItem*> chosen = m_list->selectedItems();
    if (chosen.isEmpty())
        return;
    const int row = m_list->indexOfTopLevelItem(chosen.front());
    if (row < 0 || static_cast<size_t>(row) >= m_findings.size())
        return;
    if (SelectEntryCell(m_frame.Pane(), m_findings[static_cast<size_t>(row)].Entry))
        m_frame.GridChanged();
}

void TCheckDialog::Repair(TRepair repair)
{
    RepairInPane(m_frame.Pane(), repair);
    Refresh();
}

void ShowCheckDialog(TFrameIconDirectory& frame)
{
    for (auto* shown : frame.findChildren<TCheckDialog*>(QString(), Qt::FindDirectChildrenOnly))
        shown->close();
    auto* dialog = new TCheckDialog(frame);
    dialog->show();
}

} // namespace velmora

#pragma once

#include "check/icon_finding.h"

#include <QDialog>
#include <vector>

class QTreeWidget;
class QHBoxLayout;

namespace velmora
{

class TFrameIconDirectory;

/// "Check icon...": the findings of the check of a pane's icon in a list (entry, level, text),
/// a row chosen selects its entry's cell in the pane, and one button per repair that the
/// findings offer, each applied as one step that undo takes back.
class TCheckDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TCheckDialog(TFrameIconDirectory& frame);

    /// Checks the pane's document again and shows the findings and the repairs.
    void Refresh();

protected:
    /// Back in front after the user worked in the window (an undo, an edit): checks again.
    void changeEvent(QEvent* event) override;

private:
    void RowChosen();
    void Repair(TRepair repair);

    TFrameIconDirectory& m_frame;
    QTreeWidget* m_list = nullptr;
    QHBoxLayout* m_buttons = nullptr;
    std::vector<TFinding> m_findings;
};

/// Shows the check of a frame's icon in a dialog of its own, replacing one shown before.
void ShowCheckDialog(TFrameIconDirectory& frame);

} // namespace velmora

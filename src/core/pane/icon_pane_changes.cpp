// What the pane knows of its document's history: whether it differs from the file last opened
// or saved, the question before a changed document goes, undo and redo, and the guard that
// keeps commands from running inside each other.

#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "pane/path_shortening.h"
#include "platform/clipboard.h"
#include "support/error.h"

namespace velmora
{

namespace
{

using A = TPaneAction;

// The name of a file without its folders, as the question shows it.
std::string BareName(const std::string& path)
{
    const size_t separator = path.find_last_of(PathSeparator);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// The step an action makes of the document it changes, or none for an action that changes no
// document.
std::string_view StepName(TPaneAction action)
{
    switch (action) {
    case A::IconNew:
        return Messages::StepNew;
    case A::IconClose:
        return Messages::StepClose;
    case A::EditCut:
        return Messages::StepCut;
    case A::EditPaste:
        return Messages::StepPaste;
    case A::EditDelete:
        return Messages::StepDelete;
    case A::ImageSort:
        return Messages::StepSort;
    case A::ImageInsertFrom:
        return Messages::StepInsert;
    case A::ImageAddTo:
        return Messages::StepAdd;
    case A::ImageImportBitmap:
    case A::ImageImportSizes:
        return Messages::StepImport;
    default:
        return {};
    }
}

} // namespace

TIconPane::TCommandGuard::TCommandGuard(TIconPane& pane, TIconPane* partner)
    : m_pane(pane)
    , m_partner(partner == &pane ? nullptr : partner)
{
    if (m_pane.m_busy || (m_partner && m_partner->m_busy))
        return;
    m_acquired = true;
    m_pane.m_busy = true;
    if (m_partner)
        m_partner->m_busy = true;
}

TIconPane::TCommandGuard::~TCommandGuard()
{
    if (!m_acquired)
        return;
    m_pane.m_busy = false;
    if (m_partner)
        m_partner->m_busy = false;
}

TIconPane::TChangeScope::TChangeScope(
    TIconPane& pane, std::string_view name, bool changesName, bool spansOpens)
    : m_pane(pane)
{
    m_pane.BeginChange(name, changesName, spansOpens);
}

TIconPane::TChangeScope::~TChangeScope()
{
    // A failed step still counts with what it changed; a failure to show that is not allowed to
    // leave the destructor.
    try {
        m_pane.EndChange();
    } catch (...) {
    }
}

bool TIconPane::Changed() const
{
    return m_iconDirectory.Count() > 0 && m_revision != m_savedRevision;
}

bool TIconPane::QuerySaveChanges()
{
    if (!Changed())
        return true;
    const std::string name = BareName(m_iconDirectory.FileName());
    const std::string question
        = FormatText(Messages::SaveChangesQuestion, { name, std::to_string(m_iconNumber) });
    switch (m_platform.AskSaveChanges(question)) {
    case TSaveChangesAnswer::Discard:
        return true;
    case TSaveChangesAnswer::Cancel:
        return false;
    case TSaveChangesAnswer::Save:
        ActionIconSaveExecute();
        // A cancelled save dialog and a failed save leave the document changed.
        return !Changed();
    }
    return false;
}

void TIconPane::BeginChange(std::string_view name, bool changesName, bool spansOpens)
{
    if (m_changeDepth++ > 0)
        return;
    m_changeName = name;
    m_changeNamesFile = changesName;
    m_changeSpansOpens = spansOpens;
    m_changeBefore.reset();
    // A document too large for the budget is changed without a step to take it back.
    if (TDocumentSnapshot::SizeOf(m_iconDirectory) <= m_history.ByteBudget())
        m_changeBefore = TDocumentSnapshot::Take(m_iconDirectory, m_revision);
}

void TIconPane::EndChange()
{
    if (m_changeDepth == 0 || --m_changeDepth > 0)
        return;
    std::optional<TDocumentSnapshot> before = std::move(m_changeBefore);
    m_changeBefore.reset();
    if (before && before->SameAs(m_iconDirectory))
        return;
    m_revision = ++m_lastRevision;
    if (before) {
        m_history.Record(std::move(m_changeName), m_changeNamesFile, std::move(*before));
    } else {
        // Without the state before, older steps would lead back past a change nobody can
        // take back.
        m_history.Clear();
    }
    UpdateHeadline();
    UpdateUndoActions();
}

void TIconPane::MarkOpened()
{
    m_revision = ++m_lastRevision;
    m_savedRevision = m_revision;
    if (m_changeDepth > 0 && m_changeSpansOpens) {
        UpdateHeadline();
        return;
    }
    m_history.Clear();
    // An open inside a change replaces the document: no step is left to take back.
    if (m_changeDepth > 0)
        m_changeBefore = TDocumentSnapshot::Take(m_iconDirectory, m_revision);
    UpdateHeadline();
    UpdateUndoActions();
}

void TIconPane::MarkSaved()
{
    m_savedRevision = m_revision;
    // A save asked for in the middle of a change (New or Close over a changed document) names
    // the document the change started from.
    if (m_changeBefore && m_changeBefore->Revision == m_revision)
        m_changeBefore->FileName = m_iconDirectory.FileName();
    UpdateHeadline();
}

void TIconPane::Undo()
{
    if (!m_history.CanUndo())
        return;
    ShowRestored(m_history.Undo(TDocumentSnapshot::Take(m_iconDirectory, m_revision)));
}

void TIconPane::Redo()
{
    if (!m_history.CanRedo())
        return;
    ShowRestored(m_history.Redo(TDocumentSnapshot::Take(m_iconDirectory, m_revision)));
}

void TIconPane::ShowRestored(const TUndoHistory::TStep& step)
{
    step.State.RestoreInto(m_iconDirectory, step.ChangesName);
    m_revision = step.State.Revision;
    RefreshView();
    SetGridVisible(m_iconDirectory.Count() > 0);
    RepaintGrid();
    UpdateActions();
}

std::string TIconPane::ActionCaption(TPaneAction action) const
{
    const std::string caption(PaneActionInfo(action).Caption);
    if (action == A::EditUndo && m_history.CanUndo())
        return FormatText(Messages::UndoStep, { m_history.UndoName() });
    if (action == A::EditRedo && m_history.CanRedo())
        return FormatText(Messages::RedoStep, { m_history.RedoName() });
    return caption;
}

void TIconPane::UpdateUndoActions()
{
    SetEnabled(A::EditUndo, m_history.CanUndo());
    SetEnabled(A::EditRedo, m_history.CanRedo());
    m_platform.ActionsChanged();
}

void TIconPane::ClipboardChanged()
{
    SetEnabled(A::EditPaste, m_platform.Clipboard().HasBitmap());
    m_platform.ActionsChanged();
}

void TIconPane::ExecuteRecorded(TPaneAction action)
{
    const std::string_view step = StepName(action);
    if (step.empty()) {
        RunHandler(action);
        return;
    }
    // An image added to the partner is a change of the partner's document.
    TIconPane& changed = action == A::ImageAddTo && m_partnerPane ? *m_partnerPane : *this;
    const TChangeScope scope(changed, step, action == A::IconNew || action == A::IconClose);
    RunHandler(action);
}

} // namespace velmora

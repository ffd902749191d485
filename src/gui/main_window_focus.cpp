// Which pane the keyboard works on: the edit keys go to the focused pane, F6 and Ctrl+Tab move
// the focus between the panes, and closing the window asks about unsaved changes first.

#include "application.h"
#include "focus_keys.h"
#include "frame_icon_directory.h"
#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QShortcut>

namespace velmora
{

void TFormQEBMain::CreateFocusKeys()
{
    for (const TFocusKey& focusKey : FocusKeys()) {
        auto* shortcut = new QShortcut(focusKey.Key, this);
        shortcut->setContext(Qt::WindowShortcut);
        const TPaneAction action = focusKey.Action;
        connect(shortcut, &QShortcut::activated, this, [this, action] {
            QAction* paneAction = m_focusedPane ? m_focusedPane->Action(action) : nullptr;
            if (paneAction && paneAction->isEnabled())
                RunGuarded([paneAction] { paneAction->trigger(); });
        });
    }
    // Ctrl++ and Ctrl+- step the focused pane's zoom through its zoom actions.
    for (const auto& [key, step] :
        { std::pair { QKeySequence::ZoomIn, 1 }, std::pair { QKeySequence::ZoomOut, -1 } }) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] {
            if (!m_focusedPane)
                return;
            const int zoom = m_focusedPane->Pane().Zoom() + step;
            for (const TPaneActionInfo& info : PaneActions())
                if (info.Tag == zoom && m_focusedPane->Action(info.Action)->isEnabled())
                    RunGuarded([&] { m_focusedPane->Action(info.Action)->trigger(); });
        });
    }
    for (const char* key : { "F6", "Ctrl+Tab", "Shift+F6", "Ctrl+Shift+Tab" }) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(key)), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &TFormQEBMain::FocusOtherPane);
    }
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this,
        [this](QWidget*, QWidget* now) { FocusChanged(now); });
    m_focusedPane = m_frameIcon1;
    m_frameIcon1->SetFocusMarked(true);
}

void TFormQEBMain::FocusChanged(QWidget* now)
{
    // Focus that leaves for a menu, a dialog or the toolbar keeps the pane it came from.
    TFrameIconDirectory* pane = nullptr;
    if (now && (now == m_frameIcon1 || m_frameIcon1->isAncestorOf(now)))
        pane = m_frameIcon1;
    else if (now && (now == m_frameIcon2 || m_frameIcon2->isAncestorOf(now)))
        pane = m_frameIcon2;
    if (!pane || pane == m_focusedPane)
        return;
    m_focusedPane = pane;
    m_frameIcon1->SetFocusMarked(pane == m_frameIcon1);
    m_frameIcon2->SetFocusMarked(pane == m_frameIcon2);
}

void TFormQEBMain::FocusOtherPane()
{
    TFrameIconDirectory* other = m_focusedPane == m_frameIcon1 ? m_frameIcon2 : m_frameIcon1;
    other->TakeFocus();
    // Without a focus change (a window that is not active) the mark still moves.
    FocusChanged(other);
}

bool TFormQEBMain::QueryClose()
{
    for (TFrameIconDirectory* frame : { m_frameIcon1, m_frameIcon2 }) {
        TIconPane& pane = frame->Pane();
        // A command in the middle of its work (its repaint let the close through) finishes
        // first: the window must not go from under it.
        const TIconPane::TCommandGuard guard(pane);
        if (!guard.Acquired())
            return false;
        bool mayClose = false;
        RunGuarded([&] { mayClose = pane.QuerySaveChanges(); });
        if (!mayClose)
            return false;
    }
    return true;
}

void TFormQEBMain::FitToScreen()
{
    const QScreen* primary = screen();
    if (!primary)
        return;
    // The frame is not known before the window is shown: a margin stands in for it.
    constexpr int frameMargin = 40;
    const QSize available = primary->availableGeometry().size() - QSize(frameMargin, frameMargin);
    if (available.isValid() && !available.isEmpty())
        resize(size().boundedTo(available));
}

void TFormQEBMain::closeEvent(QCloseEvent* event)
{
    if (QueryClose())
        QMainWindow::closeEvent(event);
    else
        event->ignore();
}

} // namespace velmora

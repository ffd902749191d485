#pragma once

#include <QAction>
#include <QPointer>

namespace velmora
{

/// A menu entry that may be bound to an action: while bound it shows the action's caption
/// (unless it has its own), hint, picture, shortcut text and enabled state, and choosing it
/// runs the action. Unbound it keeps what it was made with and does nothing.
class TMenuEntry : public QAction
{
    Q_OBJECT
public:
    TMenuEntry(const QString& name, QObject* parent, QAction* action = nullptr);

    /// Binds the entry to an action (or unbinds it with nullptr).
    void Bind(QAction* action);
    QAction* BoundAction() const { return m_action; }
    /// A caption that the entry shows in place of its action's.
    void SetOwnCaption(const QString& caption);
    /// The key the entry shows (its action's), empty when none.
    QKeySequence Key() const { return m_key; }

private:
    void Follow();

    QPointer<QAction> m_action;
    QString m_ownCaption;
    QKeySequence m_key;
    QMetaObject::Connection m_changed;
};

/// The caption of the submenu of the cursor entries (hotspot, new cursor, the kind to save as)
/// in the Icon menus and the pane's pop-up menu.
QString CursorMenuCaption();

/// Gives an action a key that menu entries bound to it show, without making the key live: the
/// main window's own shortcuts decide which entry a key runs.
void ShowShortcutOnly(QAction* action, const QKeySequence& key);
/// The key given by ShowShortcutOnly, empty when none.
QKeySequence ShownShortcut(const QAction* action);

} // namespace velmora

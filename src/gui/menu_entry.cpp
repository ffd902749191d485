#include "menu_entry.h"

#include "application.h"

namespace velmora
{

TMenuEntry::TMenuEntry(const QString& name, QObject* parent, QAction* action)
    : QAction(parent)
{
    setObjectName(name);
    connect(this, &QAction::triggered, this, [this] {
        if (m_action && m_action->isEnabled())
            RunGuarded([this] { m_action->trigger(); });
    });
    Bind(action);
}

void TMenuEntry::Bind(QAction* action)
{
    disconnect(m_changed);
    m_action = action;
    if (m_action) {
        m_changed = connect(m_action, &QAction::changed, this, &TMenuEntry::Follow);
        Follow();
    }
}

void TMenuEntry::SetOwnCaption(const QString& caption)
{
    m_ownCaption = caption;
    Follow();
}

void TMenuEntry::Follow()
{
    if (!m_action)
        return;
    m_key = ShownShortcut(m_action);
    // A menu shows what follows a tab in the shortcut column; the key itself stays unbound.
    QString caption = m_ownCaption.isEmpty() ? m_action->text() : m_ownCaption;
    if (!m_key.isEmpty())
        caption += QLatin1Char('\t') + m_key.toString(QKeySequence::NativeText);
    setText(caption);
    setStatusTip(m_action->statusTip());
    setToolTip(m_action->toolTip());
    setIcon(m_action->icon());
    setEnabled(m_action->isEnabled());
    // The zoom entries mark the zoom their pane shows.
    setCheckable(m_action->isCheckable());
    setChecked(m_action->isChecked());
}

QString CursorMenuCaption()
{
    return QStringLiteral("Cursor and &hotspot");
}

void ShowShortcutOnly(QAction* action, const QKeySequence& key)
{
    action->setProperty("velmoraShownKey", QVariant::fromValue(key));
}

QKeySequence ShownShortcut(const QAction* action)
{
    return action->property("velmoraShownKey").value<QKeySequence>();
}

} // namespace velmora

#include "focus_keys.h"

namespace velmora
{

const std::vector<TFocusKey>& FocusKeys()
{
    static const std::vector<TFocusKey> keys {
        { QKeySequence(QStringLiteral("Ctrl+X")), TPaneAction::EditCut },
        { QKeySequence(QStringLiteral("Ctrl+C")), TPaneAction::EditCopy },
        { QKeySequence(QStringLiteral("Ctrl+V")), TPaneAction::EditPaste },
        { QKeySequence(QStringLiteral("Ctrl+Z")), TPaneAction::EditUndo },
        { QKeySequence(QStringLiteral("Ctrl+Shift+Z")), TPaneAction::EditRedo },
        { QKeySequence(QStringLiteral("Ctrl+Y")), TPaneAction::EditRedo },
        { QKeySequence(QStringLiteral("Ctrl+N")), TPaneAction::IconNew },
        { QKeySequence(QStringLiteral("Ctrl+O")), TPaneAction::IconOpen },
        { QKeySequence(QStringLiteral("Ctrl+S")), TPaneAction::IconSave },
        { QKeySequence(QStringLiteral("Ctrl+Shift+S")), TPaneAction::IconSaveAs },
        { QKeySequence(QStringLiteral("Ctrl+Shift+X")), TPaneAction::IconClose },
    };
    return keys;
}

QKeySequence EditKey(TPaneAction action)
{
    if (action == TPaneAction::EditDelete)
        return QKeySequence(QKeySequence::Delete);
    for (const TFocusKey& key : FocusKeys())
        if (key.Action == action)
            return key.Key;
    return {};
}

bool IsFocusKey(const QKeySequence& key)
{
    if (key == QKeySequence(QKeySequence::Delete))
        return true;
    for (const TFocusKey& focusKey : FocusKeys())
        if (focusKey.Key == key)
            return true;
    return false;
}

} // namespace velmora

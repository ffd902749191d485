#pragma once

#include "pane/pane_actions.h"

#include <QKeySequence>
#include <vector>

namespace velmora
{

/// A key that always acts on the pane that has the focus, whichever pane's menu shows it.
struct TFocusKey {
    QKeySequence Key;
    TPaneAction Action;
};

/// The edit keys of every editor (cut, copy, paste, undo, redo and redo's second key) and the
/// file keys (new, open, save, save as, close), in the order the main window makes them live.
/// Delete is the grid's own key.
const std::vector<TFocusKey>& FocusKeys();

/// The key a pane action's menu entries show for it in addition to the pane's table, or none.
QKeySequence EditKey(TPaneAction action);

/// True when a key is one of FocusKeys or Delete: no menu entry owns it.
bool IsFocusKey(const QKeySequence& key);

} // namespace velmora

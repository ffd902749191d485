#pragma once

#include <QIcon>

namespace velmora
{

/// The pictures of the panes' actions, by their index in the pane's image lists (0 cut,
/// 1 copy, 2 paste, 3 delete, 4 open, 5 save, 6 close, 7 background colour, 8 sort, 9 insert
/// from the other icon, 10 add to the other icon, 11 import bitmap, 12 export bitmap). Drawn
/// as vectors, so they are sharp at any size and on high-density screens. A null icon for
/// other indices.
QIcon PaneActionIcon(int index);

/// The main window's menu pictures: 0 open, 1 exit.
QIcon MainMenuIcon(int index);

} // namespace velmora

#pragma once

#include "check/icon_finding.h"

#include <string>
#include <vector>

namespace velmora
{

class TIconPane;

/// Applies a repair to a pane's document as one step that undo takes back, named after the
/// repair, and shows the document anew. The lines of what changed; a repair that changed
/// nothing leaves no step.
std::vector<std::string> RepairInPane(TIconPane& pane, TRepair repair);

/// Selects the grid cell that shows an entry, or the cell of its format when another image of
/// that format holds it; false when there is none.
bool SelectEntryCell(TIconPane& pane, int entry);

} // namespace velmora

#include "check/pane_check.h"

#include "check/icon_repair.h"
#include "pane/icon_pane.h"

#include <charconv>
#include <optional>

namespace velmora
{

std::vector<std::string> RepairInPane(TIconPane& pane, TRepair repair)
{
    std::vector<std::string> changes;
    {
        TIconPane::TChangeScope change(pane, RepairCaption(repair));
        changes = ApplyRepair(pane.IconDirectory(), repair);
        pane.RefreshView();
        pane.SetGridVisible(pane.IconDirectory().Count() > 0);
    }
    pane.UpdateActions();
    return changes;
}

bool SelectEntryCell(TIconPane& pane, int entry)
{
    const TIconDirectory& document = pane.IconDirectory();
    if (entry < 0 || entry >= document.Count())
        return false;
    // A cell's text is the image's format key: bit count, width and height in hexadecimal,
    // then the index, joined by "|".
    const TIconDirectoryEntry& wanted = document.GetEntry(entry);
    const TImageGrid& grid = pane.Grid();
    std::optional<TGridRect> found;
    grid.ForEachCell(
        { grid.FixedCols(), grid.FixedRows(), grid.ColCount() - 1, grid.RowCount() - 1 },
        [&](int col, int row, const std::string& text) {
            size_t start = 0;
            for (int field = 0; field < 3 && start != std::string::npos; ++field)
                start = text.find('|', start) == std::string::npos ? std::string::npos
                                                                   : text.find('|', start) + 1;
            int index = -1;
            if (start != std::string::npos)
                std::from_chars(text.data() + start, text.data() + text.size(), index);
            if (found || index < 0 || index >= document.Count())
                return;
            const TIconDirectoryEntry& shown = document.GetEntry(index);
            if (index == entry
                || (shown.BitCount == wanted.BitCount && shown.Width == wanted.Width
                    && shown.Height == wanted.Height))
                found = TGridRect { col, row, col, row };
        });
    if (!found)
        return false;
    pane.StringGridMainClick(*found);
    return true;
}

} // namespace velmora

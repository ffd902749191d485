#include "pane/toolbar_overflow.h"

namespace velmora
{

TToolbarOverflow CheckToolbarOverflow(
    const std::vector<TToolbarButton>& buttons, int availableWidth, int overflowButtonWidth)
{
    TToolbarOverflow result;
    result.Visible.resize(buttons.size());
    int total = 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        result.Visible[i] = buttons[i].Separator || buttons[i].ActionVisible;
        if (result.Visible[i])
            total += buttons[i].Width;
    }
    int avail = availableWidth;
    if (total >= avail)
        avail -= overflowButtonWidth;

    int left = 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (!result.Visible[i])
            continue;
        const int right = left + buttons[i].Width;
        left = right;
        if (buttons[i].Separator) {
            if (result.Overflow || right >= avail)
                result.Visible[i] = false;
        } else if (right >= avail) {
            result.Overflow = true;
            result.Visible[i] = false;
        }
    }
    return result;
}

} // namespace velmora

#pragma once

#include <cstddef>
#include <vector>

namespace velmora
{

/// One button of a pane's toolbar as the overflow check sees it.
struct TToolbarButton {
    int Width = 0;
    bool Separator = false;
    /// For a button: whether its action is visible (a button of a hidden action stays hidden).
    bool ActionVisible = true;
};

/// The outcome of the overflow check: which buttons stay visible, and whether any was hidden
/// because it did not fit (then the overflow button is shown).
struct TToolbarOverflow {
    std::vector<bool> Visible;
    bool Overflow = false;
};

/// Lays the buttons out from the left edge and hides, from the first one that does not fit,
/// every button that reaches the available width. When all buttons together are at least as
/// wide as the toolbar, the overflow button's width is kept free at the right end. A separator
/// hides once a button was hidden before it or when it does not fit itself.
TToolbarOverflow CheckToolbarOverflow(
    const std::vector<TToolbarButton>& buttons, int availableWidth, int overflowButtonWidth);

} // namespace velmora

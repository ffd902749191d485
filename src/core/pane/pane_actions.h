#pragma once

#include <array>
#include <string_view>

namespace velmora
{

/// The commands of an icon pane, in the order of its action list.
enum class TPaneAction : int {
    IconNew,
    IconOpen,
    IconSave,
    IconClose,
    IconBackColor,
    IconTransparentColor,
    IconZoom_,
    IconZoom100,
    IconZoom200,
    IconZoom300,
    IconZoom400,
    EditCut,
    EditCopy,
    EditPaste,
    EditDelete,
    ImageSort,
    ImageInsertFrom,
    ImageAddTo,
    ImageImportBitmap,
    ImageExportBitmap,
    ImageImportSizes,
    EditUndo,
    EditRedo,
    IconNewCursor,
    IconSaveAsCursor,
    IconSaveAsIcon,
    ImageHotspot,
    IconSaveAs,
};

inline constexpr int PaneActionCount = static_cast<int>(TPaneAction::IconSaveAs) + 1;

/// What the views show of one pane action.
struct TPaneActionInfo {
    TPaneAction Action;
    std::string_view Name; ///< object name, "ActionIconOpen"
    std::string_view Category;
    std::string_view Caption;
    std::string_view Hint; ///< empty when the action has none
    std::string_view ShortCut; ///< key text in the portable form, "Ctrl+Shift+X"; may be empty
    int ImageIndex; ///< picture in the pane's image lists, -1 for none
    int Tag; ///< the zoom factor of the zoom actions, 0 otherwise
};

/// The pane's action list in order.
const std::array<TPaneActionInfo, PaneActionCount>& PaneActions();

/// The entry of one action.
const TPaneActionInfo& PaneActionInfo(TPaneAction action);

} // namespace velmora

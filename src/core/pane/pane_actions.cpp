#include "pane/pane_actions.h"

namespace velmora
{

namespace
{

using A = TPaneAction;

constexpr std::array<TPaneActionInfo, PaneActionCount> Actions { {
    { A::IconNew, "ActionIconNew", "Icon", "&New", "", "Ctrl+N", -1, 0 },
    { A::IconOpen, "ActionIconOpen", "Icon", "&Open...", "Open icon file...", "Ctrl+O", 4, 0 },
    { A::IconSave, "ActionIconSave", "Icon", "&Save", "Save icon file", "Ctrl+S", 5, 0 },
    { A::IconClose, "ActionIconClose", "Icon", "C&lose icon", "", "Ctrl+Shift+X", 6, 0 },
    { A::IconBackColor, "ActionIconBackColor", "Icon", "Back&ground color...",
        "Select background color", "", 7, 0 },
    { A::IconTransparentColor, "ActionIconTransparentColor", "Icon", "Transpar&ent color...", "",
        "", -1, 0 },
    { A::IconZoom_, "ActionIconZoom_", "Icon", "&Zoom", "", "", -1, 0 },
    { A::IconZoom100, "ActionIconZoom100", "Icon", "&100%", "", "", -1, 1 },
    { A::IconZoom200, "ActionIconZoom200", "Icon", "&200%", "", "", -1, 2 },
    { A::IconZoom300, "ActionIconZoom300", "Icon", "&300%", "", "", -1, 3 },
    { A::IconZoom400, "ActionIconZoom400", "Icon", "&400%", "", "", -1, 4 },
    { A::EditCut, "ActionEditCut", "Edit", "Cu&t image", "Move image to clipboard", "", 0, 0 },
    { A::EditCopy, "ActionEditCopy", "Edit", "&Copy image", "Copy image to clipboard", "", 1, 0 },
    { A::EditPaste, "ActionEditPaste", "Edit", "&Paste image", "Insert image from clipboard", "", 2,
        0 },
    { A::EditDelete, "ActionEditDelete", "Edit", "&Delete image", "Delete selected image", "", 3,
        0 },
    { A::ImageSort, "ActionImageSort", "Image", "Sort by &format",
        "Sort images in icon file by color depth and size", "", 8, 0 },
    { A::ImageInsertFrom, "ActionImageInsertFrom", "Image", "&Insert image from icon",
        "Insert selected image from other icon", "", 9, 0 },
    { A::ImageAddTo, "ActionImageAddTo", "Image", "&Add image to icon",
        "Add selected image to other icon", "", 10, 0 },
    { A::ImageImportBitmap, "ActionImageImportBitmap", "Image", "Import from &bitmap...",
        "Import image from bitmap file", "", 11, 0 },
    { A::ImageExportBitmap, "ActionImageExportBitmap", "Image", "E&xport to bitmap...",
        "Export selected image to bitmap file", "", 12, 0 },
    { A::ImageImportSizes, "ActionImageImportSizes", "Image", "I&mport picture at several sizes...",
        "Make images of several sizes from one picture", "", 11, 0 },
    { A::EditUndo, "ActionEditUndo", "Edit", "&Undo", "Undo the last change of the icon", "Ctrl+Z",
        -1, 0 },
    { A::EditRedo, "ActionEditRedo", "Edit", "&Redo", "Redo the change last undone", "Ctrl+Shift+Z",
        -1, 0 },
    { A::IconNewCursor, "ActionIconNewCursor", "Icon", "&New cursor", "", "", -1, 0 },
    { A::IconSaveAsCursor, "ActionIconSaveAsCursor", "Icon", "Save as &cursor...",
        "Save as a cursor file (.cur)", "", -1, 0 },
    { A::IconSaveAsIcon, "ActionIconSaveAsIcon", "Icon", "Save as &icon...",
        "Save as an icon file (.ico)", "", -1, 0 },
    { A::ImageHotspot, "ActionImageHotspot", "Image", "&Hotspot...",
        "Set the hotspot of the selected cursor image", "", -1, 0 },
    { A::IconSaveAs, "ActionIconSaveAs", "Icon", "Sa&ve As...", "Save icon file under a new name",
        "Ctrl+Shift+S", 5, 0 },
} };

} // namespace

const std::array<TPaneActionInfo, PaneActionCount>& PaneActions()
{
    return Actions;
}

const TPaneActionInfo& PaneActionInfo(TPaneAction action)
{
    return Actions.at(static_cast<size_t>(action));
}

} // namespace velmora

#pragma once

#include "pane/pane_platform.h"

#include <QPointer>
#include <QWidget>

class QColorDialog;
class QMessageBox;

namespace velmora
{

/// A text of the core's message table for a Qt widget: "\r\n" line ends become "\n".
QString UiText(std::string_view text);

/// Puts a message into a box. A message whose lines nest the reasons of a failure (a text of
/// ownLines lines, then the causes from the outermost in) shows its innermost reason, the text
/// it began with below it, and the whole chain under "Show Details...".
void SetMessageText(QMessageBox& box, std::string_view text, int ownLines = 1);

/// The panes' prompts shown with Qt: message boxes with OK, questions with Yes and No, file
/// dialogs (a save asks before it replaces a file) and the colour dialog with its custom colours.
class TQtPrompts : public IPanePrompts
{
public:
    /// Dialogs open over the window of parent; questions have no owner window.
    explicit TQtPrompts(QWidget* parent);

    void ShowMessage(const std::string& text) override;
    bool AskQuestion(const std::string& text, const std::string& caption) override;
    TReplaceAnswer AskReplace(const std::string& text, const std::string& caption) override;
    TSaveChangesAnswer AskSaveChanges(const std::string& text) override;
    std::vector<std::string> OpenFileDialog(const TFileDialogSetup& setup) override;
    std::optional<std::string> SaveFileDialog(const TFileDialogSetup& setup) override;
    std::optional<TColor> ChooseColor(TColor color, TStringList& customColors) override;
    /// The sizes dialog: one checkable line per offered side (sizes_dialog.cpp).
    std::optional<std::vector<int>> ChooseSides(
        const std::vector<int>& offered, const std::vector<int>& chosen) override;
    /// The hotspot dialog: the image enlarged, a click picks a pixel (hotspot_dialog.cpp).
    std::optional<std::pair<int, int>> ChooseHotspot(const TBitmap& picture, int x, int y) override;
    /// The frame chooser of an animated cursor: each frame drawn (frame_dialog.cpp).
    std::optional<int> ChooseFrame(
        const std::string& title, const std::vector<TFrameChoice>& frames) override;
    /// The chooser of a program's icon and cursor groups: each group's largest image drawn
    /// (frame_dialog.cpp).
    std::optional<int> ChooseGroup(
        const std::string& title, const std::vector<TFrameChoice>& groups) override;
    /// The sizes dialog with each size's preview and source (sizes_sources_dialog.cpp). The
    /// sizes last stored as PNG are ticked so again.
    std::optional<TSizesChoice> ChooseSizes(const std::vector<int>& offered,
        const std::vector<int>& chosen, const std::string& fileName, const TSizeSources& sources,
        const TSizePreview& preview) override;

private:
    QPointer<QWidget> m_parent;
    std::vector<int> m_chosenPngSides;
};

/// Loads lines "ColorA=BBGGRR" .. "ColorP=BBGGRR" into the colour dialog's custom colours, and
/// reads all sixteen back in that form.
void LoadCustomColors(const TStringList& lines);
TStringList SaveCustomColors();

} // namespace velmora

#pragma once

#include "graphics/bitmap.h"
#include "graphics/pixel_format.h"
#include "pane/size_sources.h"
#include "support/string_list.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora
{

class IClipboard;
class IVectorPictureDrawer;

/// The answers to "Save changes to NAME?".
enum class TSaveChangesAnswer {
    Save,
    Discard,
    Cancel,
};

/// How a file dialog is set up before one use: its title, its filter in the "Text|*.ext" form,
/// the extension given to a name typed without one, and whether several files may be chosen.
struct TFileDialogSetup {
    std::string Title;
    std::string Filter;
    std::string DefaultExt;
    bool MultiSelect = false;
    /// The name the dialog proposes (a full path gives its folder too); empty for none.
    std::string InitialName;
};

/// The answers to a question that one import may ask again for its other images.
enum class TReplaceAnswer {
    Yes,
    No,
    YesToAll,
    NoToAll,
};

/// One frame of an animated cursor as a chooser offers it.
struct TFrameChoice {
    TBitmap Picture; ///< the frame's largest image, 32-bit with alpha
    std::string Text; ///< "Frame 2: 32 x 32, hotspot 3,5"
};

/// The answer of the sizes dialog: the sides to make, the sides made from files of their own
/// and the sides to store PNG-compressed (256 always is).
struct TSizesChoice {
    std::vector<int> Sides;
    TSizeSources Sources;
    std::vector<int> PngSides;
};

/// Makes the preview of one side from a file (the main picture when the name is empty).
using TSizePreview = std::function<TMadeSize(int side, const std::string& fileName)>;

/// The prompts of an icon pane: messages, questions, file and colour dialogs. The GUI shows
/// them with Qt's dialogs, or hands them to a scripted fake in its tests.
class IPanePrompts
{
public:
    virtual ~IPanePrompts() = default;

    /// Shows a notice with an OK button and returns when it is closed.
    virtual void ShowMessage(const std::string& text) = 0;
    /// Asks a question with Yes and No buttons under a caption; true for Yes.
    virtual bool AskQuestion(const std::string& text, const std::string& caption) = 0;
    /// Asks a question that the rest of an import would ask again, with Yes, No, Yes to All
    /// and No to All. A platform without the two last buttons asks a Yes/No question.
    virtual TReplaceAnswer AskReplace(const std::string& text, const std::string& caption)
    {
        return AskQuestion(text, caption) ? TReplaceAnswer::Yes : TReplaceAnswer::No;
    }
    /// Asks whether the changes of a document are saved before it is closed or replaced, with
    /// Save, Discard and Cancel. A platform that cannot ask keeps the document: Cancel.
    virtual TSaveChangesAnswer AskSaveChanges(const std::string&)
    {
        return TSaveChangesAnswer::Cancel;
    }
    /// Runs an open dialog; the chosen files, none when it was cancelled.
    virtual std::vector<std::string> OpenFileDialog(const TFileDialogSetup& setup) = 0;
    /// Runs a save dialog, which asks before it names an existing file; the chosen file, or
    /// none.
    virtual std::optional<std::string> SaveFileDialog(const TFileDialogSetup& setup) = 0;
    /// Runs the colour dialog opened at a colour, with the custom colours of customColors
    /// (lines "ColorA=BBGGRR" .. "ColorP=..."), which it replaces by the dialog's custom colours
    /// when confirmed. The chosen colour, or none when cancelled.
    virtual std::optional<TColor> ChooseColor(TColor color, TStringList& customColors) = 0;
    /// Lets the user choose some of the offered image sides, the sides of chosen checked at
    /// first. The chosen sides in the offered order, or none when cancelled. A platform
    /// without such a dialog answers none.
    virtual std::optional<std::vector<int>> ChooseSides(
        const std::vector<int>& /*offered*/, const std::vector<int>& /*chosen*/)
    {
        return std::nullopt;
    }
    /// Lets the user choose the hotspot of a cursor image, shown as picture, by numbers or by
    /// a click on a pixel; starts at (x, y). The chosen point, or none when cancelled. A
    /// platform without such a dialog answers none.
    virtual std::optional<std::pair<int, int>> ChooseHotspot(
        const TBitmap& /*picture*/, int /*x*/, int /*y*/)
    {
        return std::nullopt;
    }
    /// Lets the user choose one frame of an animated cursor titled title, each frame shown by
    /// its picture and its text. The chosen index, or none when cancelled. A platform without
    /// such a dialog answers none.
    virtual std::optional<int> ChooseFrame(
        const std::string& /*title*/, const std::vector<TFrameChoice>& /*frames*/)
    {
        return std::nullopt;
    }
    /// Lets the user choose one icon or cursor group of a program, titled title, each group
    /// shown by the picture and text of its choice. The chosen index, or none when cancelled.
    /// A platform without such a dialog answers none.
    virtual std::optional<int> ChooseGroup(
        const std::string& /*title*/, const std::vector<TFrameChoice>& /*groups*/)
    {
        return std::nullopt;
    }
    /// The sizes dialog with a source per size: as ChooseSides, each offered side also shows
    /// its preview (made by preview) and its source, sources at first or else fileName, and
    /// the user may give a side a file of its own. A platform without such a dialog asks
    /// ChooseSides and keeps sources for the chosen sides.
    virtual std::optional<TSizesChoice> ChooseSizes(const std::vector<int>& offered,
        const std::vector<int>& chosen, const std::string& /*fileName*/,
        const TSizeSources& sources, const TSizePreview& /*preview*/)
    {
        std::optional<std::vector<int>> sides = ChooseSides(offered, chosen);
        if (!sides)
            return std::nullopt;
        TSizesChoice choice { *sides, {}, {} };
        for (int side : choice.Sides) {
            if (const auto source = sources.find(side); source != sources.end())
                choice.Sources.insert(*source);
        }
        return choice;
    }
};

/// Everything an icon pane asks of the platform: its prompts, text widths, the clipboard, the
/// processing of pending events, and the notices that tell its view what to show anew. The GUI
/// implements it with Qt for each pane; the tests and the command-line tool implement it with
/// scripted answers.
class IPanePlatform : public IPanePrompts
{
public:
    /// The width in pixels of a text in the grid's font.
    virtual int TextWidth(std::string_view text) = 0;
    /// The clipboard that the pane's document uses.
    virtual IClipboard& Clipboard() = 0;
    /// Lets the application handle the events that are waiting (input and repaints).
    virtual void ProcessPendingEvents() = 0;

    /// The grid must be repainted at once.
    virtual void RepaintGrid() = 0;
    /// The grid's layout, cells or visibility changed.
    virtual void GridChanged() { }
    /// The headline or the status text changed.
    virtual void TextsChanged() { }
    /// The enabled state of the actions changed.
    virtual void ActionsChanged() { }
    /// The grid should take the keyboard focus.
    virtual void FocusGrid() { }
    /// The drawer of SVG pictures, or none when the program has none.
    virtual IVectorPictureDrawer* VectorPictures() { return nullptr; }
};

} // namespace velmora

#pragma once

#include "graphics/bitmap.h"
#include "graphics/pixel_format.h"
#include "icons/icon_directory.h"
#include "icons/icon_paint.h"
#include "pane/image_grid.h"
#include "pane/import_report.h"
#include "pane/pane_actions.h"
#include "pane/pane_platform.h"
#include "pane/size_sources.h"
#include "pane/undo_history.h"
#include "support/string_list.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora
{

/// Keys that the grid hands to its pane when they are released.
enum class TGridKey {
    F9,
    F10,
    F11,
    F12,
    Delete,
    Other,
};

/// The behaviour of one icon pane, without a display: it owns one icon document, its selection,
/// colours and zoom, the grid's layout and the pane's actions with their enabled states, and
/// reaches the platform only through IPanePlatform. The Qt pane is a view over it; the tests and
/// the command-line tool drive it with scripted answers.
class TIconPane
{
public:
    explicit TIconPane(IPanePlatform& platform);
    virtual ~TIconPane();
    TIconPane(const TIconPane&) = delete;
    TIconPane& operator=(const TIconPane&) = delete;

    // State.
    TIconDirectory& IconDirectory() { return m_iconDirectory; }
    const TIconDirectory& IconDirectory() const { return m_iconDirectory; }
    const TStringList& SelectedImages() const { return m_selectedImages; }
    int IconNumber() const { return m_iconNumber; }
    TIconPane* PartnerPane() const { return m_partnerPane; }
    void SetPartnerPane(TIconPane* partner) { m_partnerPane = partner; }
    bool QuietMode() const { return m_quietMode; }
    void SetQuietMode(bool quiet) { m_quietMode = quiet; }
    TColor BackgroundColor() const { return m_backgroundColor; }
    TColor TransparentColor() const { return m_transparentColor; }
    int Zoom() const { return m_zoom; }
    /// The counts taken by the last RefreshView.
    int ImageCount() const { return m_imageCount; }
    int DepthCount() const { return m_depthCount; }
    int SizeCount() const { return m_sizeCount; }
    const TStringList& BackgroundCustomColors() const { return m_backgroundCustomColors; }
    const TStringList& TransparentCustomColors() const { return m_transparentCustomColors; }

    // Texts.
    const std::string& Headline() const { return m_headline; }
    const std::string& StatusText() const { return m_statusText; }
    /// The headline panel's client width; sets it and runs UpdateHeadline.
    void SetHeadlineWidth(int width);
    static constexpr int HeadlineBorderWidth = 2;
    /// The largest zoom factor.
    static constexpr int MaxZoom = 4;
    /// The most "-1" entries that SelectedImages lists for the empty cells of a selection.
    static constexpr int64_t MaxEmptySelected = 65535;

    // Unsaved changes and the undo history.
    /// True when the document holds images and differs from what was last opened or saved.
    bool Changed() const;
    /// Before the document is closed or replaced by the user: asks "Save changes to NAME?"
    /// when it is changed. Save runs the pane's save. True when the document may go: nothing
    /// was changed, the user discarded the changes, or the save succeeded.
    bool QuerySaveChanges();
    /// Starts and ends a change of the document that undo takes back as one step named name;
    /// a step that changes nothing is not kept. Changes nest: the outermost one counts.
    /// changesName: the step gives the document another file name (New, Close).
    /// spansOpens: files opened inside the change belong to it (a script run), so the step
    /// takes the document back to what it was before the first of them.
    void BeginChange(std::string_view name, bool changesName = false, bool spansOpens = false);
    void EndChange();
    /// Holds a change for as long as it lives.
    class TChangeScope
    {
    public:
        TChangeScope(TIconPane& pane, std::string_view name, bool changesName = false,
            bool spansOpens = false);
        ~TChangeScope();
        TChangeScope(const TChangeScope&) = delete;
        TChangeScope& operator=(const TChangeScope&) = delete;

    private:
        TIconPane& m_pane;
    };
    /// Takes the last change back, or does the change last taken back again.
    void Undo();
    void Redo();
    const TUndoHistory& History() const { return m_history; }
    /// The caption an action shows now: the undo and redo actions name their step.
    std::string ActionCaption(TPaneAction action) const;
    /// The clipboard's content changed: Paste follows it at once.
    void ClipboardChanged();

    /// True while a command of this pane runs. A command that arrives meanwhile (through the
    /// events that a repaint lets through: a key, a menu entry, a drop) is dropped, so that
    /// nothing runs nested on a selection that no longer matches the document.
    bool Busy() const { return m_busy; }
    /// Marks a pane, and the partner a command also changes or reads, busy for as long as it
    /// lives; Acquired is false, and nothing is marked, when one of them already is.
    class TCommandGuard
    {
    public:
        explicit TCommandGuard(TIconPane& pane, TIconPane* partner = nullptr);
        ~TCommandGuard();
        TCommandGuard(const TCommandGuard&) = delete;
        TCommandGuard& operator=(const TCommandGuard&) = delete;
        bool Acquired() const { return m_acquired; }

    private:
        TIconPane& m_pane;
        TIconPane* m_partner;
        bool m_acquired = false;
    };

    // Actions.
    bool IsEnabled(TPaneAction action) const { return m_enabled[Index(action)]; }
    /// Runs an action's handler when the action is enabled; true when it ran.
    bool Execute(TPaneAction action);
    /// Sets the enabled states from the document, the selection, the clipboard and the partner.
    void UpdateActions();

    // Operations that the main window and the script runner call.
    void SetIconNumber(int number);
    /// withReason: a refused file's message gives the reason on a line of its own (the user's
    /// own opens; scripts show the message alone).
    void OpenIconFile(const std::string& fileName, bool withReason = false);
    void SaveIconFile(const std::string& fileName);
    void NewIcon();
    /// New, as a cursor of the template image with the hotspot (0, 0).
    void NewCursor();
    void CloseIcon();
    /// Sets the hotspot of a cursor image as an undoable step; false when the document is no
    /// cursor or the point lies outside the image.
    bool SetImageHotspot(int index, int x, int y);
    /// The title of the animated cursor whose frame the document was opened from; empty for
    /// other documents.
    const std::string& AnimationTitle() const { return m_animationTitle; }
    /// Imports bitmap files (with their mask files) as new images.
    void ImportBitmapFiles(const TStringList& fileNames);
    /// Makes images of the given sides (1 to 256) from one PNG or bitmap picture of up to 8192
    /// pixels a side, or from an SVG drawn at each side, as ImportBitmapFiles imports files: a
    /// made size the icon holds is asked about, or quietly refused. A side of sources is made
    /// from its own file instead (MakePictureSizes); the sides of pngSides are stored
    /// PNG-compressed. LastImportReport holds one line per side
    /// ("FILE @ 16", FILE being the file the side was made from).
    void ImportPictureSizes(const std::string& fileName, const std::vector<int>& sides,
        const TSizeSources& sources = {}, const std::vector<int>& pngSides = {});
    /// Asks which sizes to make from a picture, and from which files (ChooseSizes, with the
    /// files found beside it at first), then ImportPictureSizes; the choice is kept.
    void ImportPictureAskingSizes(const std::string& fileName);
    /// The sides that "Import picture at several sizes..." offers, and those chosen last.
    static const std::vector<int>& OfferedSides();
    const std::vector<int>& ChosenSides() const { return m_chosenSides; }
    /// What the last ImportBitmapFiles did with each file.
    const TImportReport& LastImportReport() const { return m_lastImport; }
    void SetBackgroundColor(TColor color);
    void SetTransparentColor(TColor color);
    void SetZoom(int zoom);
    void RefreshView();
    void UpdateHeadline();
    void RepaintGrid();

    // The grid.
    const TImageGrid& Grid() const { return m_grid; }
    /// Shows or hides the grid and tells the view.
    void SetGridVisible(bool visible);
    void RebuildGrid();
    void UpdateSelection();
    /// The view's selection changed (a click, a drag or a move of the current cell): takes the
    /// rectangle, then UpdateSelection and UpdateActions.
    void StringGridMainClick(const TGridRect& selection);
    /// Runs the action of a released grid key, if any and enabled.
    void StringGridMainKeyUp(TGridKey key);
    /// Paints image cell (col, row) into a 32-bit canvas at rect: the background colour, then
    /// the cell's image at its own size times the zoom in the top-left corner. A painting
    /// failure of one image leaves the background only.
    void PaintImageCell(int col, int row, TBitmap& canvas, const TRect& rect) const;

    /// The picture of the template icon that New loads: 32 x 32 pixels at 24 bits per pixel,
    /// its bottom-left colour marking the transparent pixels.
    static TBitmap TemplateIconBitmap();
    /// The file name New gives the document.
    static std::string NewIconFileName();

protected:
    // Handlers of the actions.
    virtual void ActionIconNewExecute();
    virtual void ActionIconOpenExecute();
    /// Writes a document that has a file name to that file; a new one asks for a name.
    virtual void ActionIconSaveExecute();
    /// Always asks for the name, proposing the current one.
    virtual void ActionIconSaveAsExecute();
    virtual void ActionIconCloseExecute();
    virtual void ActionIconBackColorExecute();
    virtual void ActionIconTransparentColorExecute();
    virtual void ActionIconZoomExecute(int tag);
    virtual void ActionEditCutExecute();
    virtual void ActionEditCopyExecute();
    virtual void ActionEditPasteExecute();
    virtual void ActionEditDeleteExecute();
    virtual void ActionImageSortExecute();
    virtual void ActionImageInsertFromExecute();
    virtual void ActionImageAddToExecute();
    virtual void ActionImageImportBitmapExecute();
    virtual void ActionImageExportBitmapExecute();
    virtual void ActionImageImportSizesExecute();
    virtual void ActionImageHotspotExecute();
    /// Asks for a file name and saves the document as a file of that kind.
    virtual void ActionIconSaveAsExecute(TIconDirectory::EKind kind);

    IPanePlatform& Platform() { return m_platform; }

private:
    static size_t Index(TPaneAction action) { return static_cast<size_t>(action); }
    void SetEnabled(TPaneAction action, bool enabled) { m_enabled[Index(action)] = enabled; }
    /// Runs an action's handler inside the change it makes to this pane's or the partner's
    /// document.
    void ExecuteRecorded(TPaneAction action);
    void RunHandler(TPaneAction action);
    /// True when the document carries a file name of its own: not the one of a new icon.
    bool HasOwnFileName() const;
    /// The save dialog proposing the current name until it gives a name that can hold an
    /// icon; a name without an extension gets ".ico". Then SaveIconFile.
    void SaveIconAs(std::string_view title);
    /// Sets the enabled states of Undo and Redo and tells the view.
    void UpdateUndoActions();
    /// Opens a frame of an animated cursor, chosen by the user, as a cursor document.
    void OpenAnimatedCursorFrame(const std::string& fileName);
    /// Opens an icon or cursor group of a program as a new document named after the program
    /// and the group: the one the name gives in the Windows form ("setup.exe,-101"), the only
    /// one, or the one the user chooses.
    void OpenProgramGroup(const std::string& fileName);
    /// The filter and extension of the save dialog for a document of a kind.
    static TFileDialogSetup SaveDialogSetup(TIconDirectory::EKind kind, std::string title);
    /// Draws the hotspot of a cursor image as a crosshair onto its painted cell at target.
    void PaintHotspot(const TIconDirectoryEntry& entry, TBitmap& canvas, const TRect& target) const;
    /// After a load or a save: the document as it is now is the one on disk.
    void MarkOpened();
    void MarkSaved();
    /// Shows the state an undo or redo put back.
    void ShowRestored(const TUndoHistory::TStep& step);
    /// Index of a cell text's image (its fourth field), or -1.
    static int CellImageIndex(const std::string& cell);
    /// Runs the colour dialog for one of the pane's colours and its custom-colour list.
    void ChooseColor(TColor current, TStringList& customColors, void (TIconPane::*set)(TColor));

    // Image transfer and bitmap import.
    /// The numbers of a selection that name images of the document, each once, highest first.
    static std::vector<int> SelectedIndices(const TStringList& selection, int count);
    /// The format of an image as the messages show it: width, height and bit count.
    static std::string ImageFormatText(const TIconDirectoryEntry& entry);
    /// "Format exists ... Replace?" for the format of an entry that a new image would meet.
    static std::string FormatExistsQuestion(const TIconDirectoryEntry& entry);
    /// Replaces image existing of target by the image that make puts into an empty scratch
    /// document, deleting nothing unless the replacement can be added: 0 when replaced;
    /// ResultFormatExists when target holds another image of the format; otherwise make's
    /// refusal code.
    static int ReplaceImage(
        TIconDirectory& target, int existing, const std::function<int(TIconDirectory&)>& make);
    /// Copy and cut: puts the first selected image on the clipboard; its index, or -1 when
    /// nothing was copied.
    int CopySelectedImage();
    /// Add and insert: the selected images of source go to target, highest index first.
    void TransferImages(TIconPane& source, TIconPane& target, std::string_view caption);
    /// The message for an import refused with code; name is the file or "ClipBoard".
    static std::string ImportRefusalText(int code, std::string_view name);
    /// Imports one file into a document, with its mask file when it has one.
    static int ImportFile(
        TIconDirectory& document, const std::string& fileName, const std::string* maskFileName);
    /// "Format exists ... Replace?" inside an import: while more images may meet a held format
    /// (more), the question offers Yes to All and No to All, whose answer forAll keeps for the
    /// rest of the import. True to replace.
    bool AskReplaceInImport(
        const std::string& question, bool picture, bool more, std::optional<bool>& forAll);
    /// Shows a refusal of the import with the grid visible when there are images.
    void ShowImportRefusal(const std::string& text);

    IPanePlatform& m_platform;
    TColor m_backgroundColor = ColorInfoBk;
    int m_imageCount = 0;
    int m_depthCount = 0;
    int m_sizeCount = 0;
    TStringList m_backgroundCustomColors;
    TStringList m_transparentCustomColors;
    TIconPane* m_partnerPane = nullptr;
    int m_iconNumber = 0;
    TIconDirectory m_iconDirectory;
    TStringList m_selectedImages;
    bool m_quietMode = false;
    TColor m_transparentColor = 0xFF00FF;
    int m_zoom = 1;

    TImageGrid m_grid;
    TStringList m_depthKeys;
    TStringList m_sizeKeys;
    TStringList m_formatLines;
    std::string m_headline;
    std::string m_statusText;
    int m_headlineWidth = 283;
    std::array<bool, PaneActionCount> m_enabled {};
    TImportReport m_lastImport;

    TUndoHistory m_history;
    int m_revision = 0; ///< the state of the document now
    int m_savedRevision = 0; ///< the state last opened or saved
    int m_lastRevision = 0; ///< the last number given to a state
    int m_changeDepth = 0;
    std::optional<TDocumentSnapshot> m_changeBefore;
    std::string m_changeName;
    bool m_changeNamesFile = false;
    bool m_changeSpansOpens = false;
    bool m_busy = false;
    std::vector<int> m_chosenSides { 16, 24, 32, 48, 64, 128, 256 };
    std::string m_animationTitle;
    /// The name of a document opened from a program's group, which is no file of its own,
    /// and the file name that its first save proposes.
    std::string m_programDocumentName;
    std::string m_programSaveName;
};

/// The notice of an icon file opened without some of its images: how many of how many were
/// read, then the reason for each one lost.
std::string UnreadableImagesText(int readCount, const std::vector<TUnreadableImage>& unreadable);

} // namespace velmora

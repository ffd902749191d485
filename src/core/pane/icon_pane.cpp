#include "pane/icon_pane.h"

#include "files/file_kind.h"
#include "icons/animated_cursor.h"
#include "messages/messages.h"
#include "pane/path_shortening.h"
#include "platform/clipboard.h"
#include "platform/system_colors.h"
#include "programs/program_icon_groups.h"
#include "support/error.h"

#include <algorithm>
#include <cstdio>

namespace velmora
{

namespace
{

std::string Decimal(int value)
{
    return std::to_string(value);
}

// A colour as the colour dialog's custom colours write it: six hexadecimal digits of the
// resolved value, blue first.
std::string CustomColorText(TColor color)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(ColorToRGB(color) & 0xFFFFFF));
    return text;
}

} // namespace

TIconPane::TIconPane(IPanePlatform& platform)
    : m_platform(platform)
{
    m_backgroundColor = ColorInfoBk;
    m_iconDirectory.SetFileName(std::string(Messages::NewDocumentName));
    m_iconDirectory.SetClipboard(&m_platform.Clipboard());
    m_quietMode = false;
    m_transparentColor = 0xFF00FF;
    SetIconNumber(0);
    m_zoom = 1;
    m_backgroundCustomColors.Add(
        FormatText(Messages::CustomColorA, { CustomColorText(m_backgroundColor) }));
    m_transparentCustomColors.Add(
        FormatText(Messages::CustomColorA, { CustomColorText(m_transparentColor) }));
    // Until the main window updates them, the actions keep the states they are made with:
    // all enabled except Paste.
    m_enabled.fill(true);
    SetEnabled(TPaneAction::EditPaste, false);
    // Nothing to take back yet.
    SetEnabled(TPaneAction::EditUndo, false);
    SetEnabled(TPaneAction::EditRedo, false);
}

TIconPane::~TIconPane() = default;

void TIconPane::SetHeadlineWidth(int width)
{
    m_headlineWidth = width;
    UpdateHeadline();
}

bool TIconPane::Execute(TPaneAction action)
{
    if (!IsEnabled(action))
        return false;
    // Repaints process pending events in the middle of a command; a command that arrives
    // then for this pane, or for the partner when the command reads or changes it, would act
    // on a selection that no longer matches the document, so it is dropped.
    const bool withPartner
        = action == TPaneAction::ImageAddTo || action == TPaneAction::ImageInsertFrom;
    const TCommandGuard guard(*this, withPartner ? m_partnerPane : nullptr);
    if (!guard.Acquired())
        return false;
    ExecuteRecorded(action);
    return true;
}

void TIconPane::RunHandler(TPaneAction action)
{
    switch (action) {
    case TPaneAction::IconNew:
        ActionIconNewExecute();
        break;
    case TPaneAction::IconOpen:
        ActionIconOpenExecute();
        break;
    case TPaneAction::IconSave:
        ActionIconSaveExecute();
        break;
    case TPaneAction::IconClose:
        ActionIconCloseExecute();
        break;
    case TPaneAction::IconBackColor:
        ActionIconBackColorExecute();
        break;
    case TPaneAction::IconTransparentColor:
        ActionIconTransparentColorExecute();
        break;
    case TPaneAction::IconZoom_:
        // Carries the caption of the zoom submenu only.
        break;
    case TPaneAction::IconZoom100:
    case TPaneAction::IconZoom200:
    case TPaneAction::IconZoom300:
    case TPaneAction::IconZoom400:
        ActionIconZoomExecute(PaneActionInfo(action).Tag);
        break;
    case TPaneAction::EditCut:
        ActionEditCutExecute();
        break;
    case TPaneAction::EditCopy:
        ActionEditCopyExecute();
        break;
    case TPaneAction::EditPaste:
        ActionEditPasteExecute();
        break;
    case TPaneAction::EditDelete:
        ActionEditDeleteExecute();
        break;
    case TPaneAction::ImageSort:
        ActionImageSortExecute();
        break;
    case TPaneAction::ImageInsertFrom:
        ActionImageInsertFromExecute();
        break;
    case TPaneAction::ImageAddTo:
        ActionImageAddToExecute();
        break;
    case TPaneAction::ImageImportBitmap:
        ActionImageImportBitmapExecute();
        break;
    case TPaneAction::ImageExportBitmap:
        ActionImageExportBitmapExecute();
        break;
    case TPaneAction::ImageImportSizes:
        ActionImageImportSizesExecute();
        break;
    case TPaneAction::EditUndo:
        Undo();
        break;
    case TPaneAction::EditRedo:
        Redo();
        break;
    case TPaneAction::IconNewCursor:
        if (QuerySaveChanges())
            NewCursor();
        break;
    case TPaneAction::IconSaveAsCursor:
        ActionIconSaveAsExecute(TIconDirectory::EKind::Cursor);
        break;
    case TPaneAction::IconSaveAsIcon:
        ActionIconSaveAsExecute(TIconDirectory::EKind::Icon);
        break;
    case TPaneAction::ImageHotspot:
        ActionImageHotspotExecute();
        break;
    case TPaneAction::IconSaveAs:
        ActionIconSaveAsExecute();
        break;
    }
}

void TIconPane::UpdateActions()
{
    const bool images = m_imageCount != 0;
    const int selected = images ? m_selectedImages.Count() : 0;
    SetEnabled(TPaneAction::IconSave, images);
    SetEnabled(TPaneAction::IconSaveAs, images);
    SetEnabled(TPaneAction::IconClose, images);
    SetEnabled(TPaneAction::IconBackColor, images);
    SetEnabled(TPaneAction::EditCut, images && selected == 1);
    SetEnabled(TPaneAction::EditCopy, images && selected == 1);
    SetEnabled(TPaneAction::EditPaste, m_platform.Clipboard().HasBitmap());
    SetEnabled(TPaneAction::EditDelete, images && selected > 0);
    SetEnabled(TPaneAction::ImageSort, images);
    SetEnabled(TPaneAction::ImageInsertFrom,
        images && m_partnerPane && m_partnerPane->m_imageCount != 0
            && m_partnerPane->m_selectedImages.Count() > 0);
    SetEnabled(TPaneAction::ImageAddTo, images);
    SetEnabled(TPaneAction::ImageExportBitmap, images && selected > 0);
    SetEnabled(TPaneAction::IconSaveAsCursor, images);
    SetEnabled(TPaneAction::IconSaveAsIcon, images);
    SetEnabled(TPaneAction::ImageHotspot,
        images && m_iconDirectory.IsCursor() && selected == 1 && m_selectedImages[0] != "-1");
    UpdateUndoActions();
}

void TIconPane::SetIconNumber(int number)
{
    m_iconNumber = number;
    UpdateHeadline();
}

void TIconPane::OpenIconFile(const std::string& fileName, bool withReason)
{
    const auto notOpened = [&fileName](const std::exception& cause) {
        // The box names the file first, then the reason the document gives, as the
        // command-line tool does.
        return Exception(
            FormatText(Messages::IconFileNotOpened, { fileName }) + "\r\n" + cause.what());
    };
    bool animated = false;
    try {
        animated = IsAnimatedCursorFile(fileName);
    } catch (const std::exception& cause) {
        // A file that cannot be read at all.
        throw notOpened(cause);
    }
    if (animated) {
        OpenAnimatedCursorFrame(fileName);
        return;
    }
    if (IsProgramFileName(ParseProgramIconReference(fileName).File)) {
        OpenProgramGroup(fileName);
        return;
    }
    bool loaded = false;
    std::vector<TUnreadableImage> unreadable;
    try {
        // Scripts and quiet runs take a file whole or not at all; a person gets what a damaged
        // file still holds, and is told what was lost.
        loaded = m_quietMode ? m_iconDirectory.LoadFromFile(fileName)
                             : m_iconDirectory.LoadReadableFromFile(fileName, unreadable);
    } catch (const std::exception& cause) {
        throw notOpened(cause);
    }
    if (loaded) {
        m_animationTitle.clear();
        MarkOpened();
        RefreshView();
        SetGridVisible(true);
        RepaintGrid();
        if (!unreadable.empty()) {
            // What was read differs from the file: a save writes a sound icon of it.
            m_savedRevision = ++m_lastRevision;
            UpdateHeadline();
            m_platform.ShowMessage(UnreadableImagesText(m_iconDirectory.Count(), unreadable));
        }
    } else {
        std::string text = FormatText(Messages::IconFileNotOpened, { fileName });
        // The reason follows on the next line, as in the command-line tool.
        if (withReason) {
            // A file of another kind says what it is, as in the command-line tool.
            const std::string_view kind = KindOfFileNamed(fileName);
            text += "\r\n"
                + std::string(kind.empty() ? velmora::StatusText(m_iconDirectory.Status()) : kind);
        }
        m_platform.ShowMessage(text);
    }
}

std::string UnreadableImagesText(int readCount, const std::vector<TUnreadableImage>& unreadable)
{
    std::string lost;
    for (const TUnreadableImage& image : unreadable) {
        if (!lost.empty())
            lost += "\r\n";
        lost += image.Reason;
    }
    const size_t total = static_cast<size_t>(readCount) + unreadable.size();
    return FormatText(
        Messages::ImagesPartlyRead, { std::to_string(readCount), std::to_string(total), lost });
}

void TIconPane::SaveIconFile(const std::string& fileName)
{
    if (m_iconDirectory.SaveToFile(fileName))
        MarkSaved();
    else
        m_platform.ShowMessage(std::string(Messages::FileNotSaved) + fileName);
}

std::string TIconPane::NewIconFileName()
{
    std::string name = ".";
    name += PathSeparator;
    name += "new.ico";
    return name;
}

void TIconPane::NewIcon()
{
    // The template is made in memory: New never writes a file, so a user's new.ico in the
    // current folder is safe.
    TIconDirectory templateIcon;
    if (templateIcon.ImportBitmap(TemplateIconBitmap()) != 0)
        return;
    m_iconDirectory.Clear();
    m_iconDirectory.SetKind(TIconDirectory::EKind::Icon);
    m_animationTitle.clear();
    if (m_iconDirectory.AddImage(&templateIcon.GetImage(0), &templateIcon.GetEntry(0)) != 0) {
        // Not expected for one image in an empty document; the view follows all the same.
        RefreshView();
        UpdateActions();
        return;
    }
    m_iconDirectory.SetFileName(NewIconFileName());
    RefreshView();
    SetGridVisible(true);
    RepaintGrid();
    UpdateActions();
}

void TIconPane::CloseIcon()
{
    m_iconDirectory.Clear();
    m_iconDirectory.SetKind(TIconDirectory::EKind::Icon);
    m_animationTitle.clear();
    RefreshView();
    RepaintGrid();
    UpdateActions();
}

void TIconPane::SetBackgroundColor(TColor color)
{
    m_backgroundColor = color;
    RepaintGrid();
}

void TIconPane::SetTransparentColor(TColor color)
{
    m_transparentColor = color;
    RepaintGrid();
}

void TIconPane::SetZoom(int zoom)
{
    // The zoom actions give 1 to 4; nothing else can be drawn sensibly.
    m_zoom = std::clamp(zoom, 1, MaxZoom);
    RebuildGrid();
}

void TIconPane::RefreshView()
{
    m_imageCount = m_iconDirectory.Count();
    m_sizeCount = m_iconDirectory.CountSizes();
    m_depthCount = m_iconDirectory.CountColorDepths();
    UpdateHeadline();
    RebuildGrid();
    UpdateSelection();
}

void TIconPane::UpdateHeadline()
{
    std::string_view format;
    const bool cursor = m_iconDirectory.IsCursor();
    if (m_iconNumber == 0)
        format = cursor ? Messages::HeadlineCursorUnnumbered : Messages::HeadlineUnnumbered;
    else if (m_imageCount == 0)
        format = cursor ? Messages::HeadlineCursorEmpty : Messages::HeadlineEmpty;
    else if (m_imageCount == 1)
        format = cursor ? Messages::HeadlineCursorOneImage : Messages::HeadlineOneImage;
    else
        format = cursor ? Messages::HeadlineCursorImages : Messages::HeadlineImages;

    // The budget is measured on the template with its placeholders, not on the finished text.
    // A changed document's name carries a mark in front, which the budget leaves room for.
    const bool changed = Changed();
    const int mark = changed ? m_platform.TextWidth(Messages::ChangedMark) : 0;
    const int available
        = m_headlineWidth - 2 * HeadlineBorderWidth - m_platform.TextWidth(format) - mark;
    std::string shortName = ShortenPathToWidth(
        m_iconDirectory.FileName(),
        [this](std::string_view text) { return m_platform.TextWidth(text); }, available);
    if (changed)
        shortName = std::string(Messages::ChangedMark).append(shortName);

    if (m_iconNumber == 0)
        m_headline = FormatText(format, { shortName });
    else if (m_imageCount == 0)
        m_headline = FormatText(format, { Decimal(m_iconNumber) });
    else if (m_imageCount == 1)
        m_headline = FormatText(format, { Decimal(m_iconNumber), shortName });
    else
        m_headline
            = FormatText(format, { Decimal(m_iconNumber), Decimal(m_imageCount), shortName });
    if (!m_animationTitle.empty() && m_imageCount > 0)
        m_headline += FormatText(Messages::HeadlineAnimationTitle, { m_animationTitle });
    m_platform.TextsChanged();
}

void TIconPane::RepaintGrid()
{
    m_platform.ProcessPendingEvents();
    m_platform.RepaintGrid();
}

void TIconPane::ActionIconNewExecute()
{
    if (QuerySaveChanges())
        NewIcon();
}

void TIconPane::ActionIconOpenExecute()
{
    if (!QuerySaveChanges()) {
        UpdateActions();
        return;
    }
    const TFileDialogSetup setup { std::string(Messages::OpenIconTitle),
        std::string(Messages::OpenFilter), std::string(Messages::IconExtension), true, {} };
    const std::vector<std::string> files = m_platform.OpenFileDialog(setup);
    if (!files.empty())
        OpenIconFile(files.front(), true);
    UpdateActions();
}

void TIconPane::ActionIconSaveExecute()
{
    // An icon that came from a file goes back to it; a new one needs a name first.
    const std::string& name = m_iconDirectory.FileName();
    if (HasOwnFileName())
        SaveIconFile(name);
    else
        SaveIconAs(Messages::SaveIconTitle);
    UpdateActions();
}

void TIconPane::ActionIconSaveAsExecute()
{
    SaveIconAs(Messages::SaveIconAsTitle);
    UpdateActions();
}

void TIconPane::ActionIconCloseExecute()
{
    if (QuerySaveChanges())
        CloseIcon();
}

void TIconPane::ChooseColor(
    TColor current, TStringList& customColors, void (TIconPane::*set)(TColor))
{
    // The dialog works on a copy: a cancelled dialog leaves colour and list as they were.
    TStringList colors = customColors;
    const std::optional<TColor> chosen = m_platform.ChooseColor(current, colors);
    if (!chosen)
        return;
    (this->*set)(*chosen);
    customColors = std::move(colors);
}

void TIconPane::ActionIconBackColorExecute()
{
    ChooseColor(m_backgroundColor, m_backgroundCustomColors, &TIconPane::SetBackgroundColor);
}

void TIconPane::ActionIconTransparentColorExecute()
{
    ChooseColor(m_transparentColor, m_transparentCustomColors, &TIconPane::SetTransparentColor);
}

void TIconPane::ActionIconZoomExecute(int tag)
{
    SetZoom(tag);
}

} // namespace velmora

// What the pane does for cursors: New cursor, the hotspot of an image, saving as the other
// kind, the hotspot's crosshair in the grid, and opening a frame of an animated cursor.

#include "graphics/icon_picture.h"
#include "icons/animated_cursor.h"
#include "messages/messages.h"
#include "pane/icon_pane.h"
#include "pane/path_shortening.h"
#include "support/error.h"

#include <algorithm>
#include <filesystem>

namespace velmora
{

namespace
{

using EKind = TIconDirectory::EKind;

// The pictures of a frame chooser hold at most this many bytes together; frames past it are
// offered by their text alone, so that thousands of large frames cost no more.
constexpr size_t ChooserPictureBudget = size_t { 64 } << 20;

// Inverts one pixel of a 32-bit canvas, so that the mark shows on any colour.
void InvertPixel(TBitmap& canvas, int x, int y, const TRect& clip)
{
    if (x < clip.Left || y < clip.Top || x >= clip.Right || y >= clip.Bottom || x < 0 || y < 0
        || x >= canvas.Width() || y >= canvas.Height())
        return;
    uint8_t* pixel = canvas.ScanLine(y) + 4 * x;
    for (int c = 0; c < 3; ++c)
        pixel[c] = static_cast<uint8_t>(255 - pixel[c]);
}

std::string Num(int value)
{
    return std::to_string(value);
}

} // namespace

void TIconPane::NewCursor()
{
    NewIcon();
    if (m_iconDirectory.Count() == 0)
        return;
    m_iconDirectory.SetKind(EKind::Cursor);
    std::string name = ".";
    name += PathSeparator;
    m_iconDirectory.SetFileName(name.append(Messages::NewCursorFileName));
    RefreshView();
    UpdateActions();
}

bool TIconPane::SetImageHotspot(int index, int x, int y)
{
    if (!m_iconDirectory.IsCursor() || index < 0 || index >= m_iconDirectory.Count())
        return false;
    const TIconDirectoryEntry& entry = m_iconDirectory.GetEntry(index);
    if (x < 0 || y < 0 || x >= entry.ImageWidth() || y >= entry.ImageHeight())
        return false;
    {
        const TChangeScope scope(*this, Messages::StepHotspot, false);
        m_iconDirectory.SetHotspot(index, x, y);
    }
    UpdateSelection();
    RepaintGrid();
    UpdateActions();
    return true;
}

void TIconPane::ActionImageHotspotExecute()
{
    if (m_selectedImages.Count() != 1)
        return;
    const int index = std::stoi(m_selectedImages[0]);
    if (index < 0 || index >= m_iconDirectory.Count())
        return;
    const TIconDirectoryEntry& entry = m_iconDirectory.GetEntry(index);
    const std::optional<std::pair<int, int>> point = m_platform.ChooseHotspot(
        IconPicture(*m_iconDirectory.GetImage(index).Icon), entry.HotspotX, entry.HotspotY);
    if (point && !SetImageHotspot(index, point->first, point->second))
        m_platform.ShowMessage(FormatText(Messages::HotspotOutside,
            { Num(point->first), Num(point->second), Num(entry.ImageWidth()),
                Num(entry.ImageHeight()) }));
}

TFileDialogSetup TIconPane::SaveDialogSetup(EKind kind, std::string title)
{
    const bool cursor = kind == EKind::Cursor;
    return { std::move(title),
        std::string(cursor ? Messages::CursorSaveFilter : Messages::IconSaveFilter),
        std::string(cursor ? Messages::CursorExtension : Messages::IconExtension), false, {} };
}

void TIconPane::ActionIconSaveAsExecute(EKind kind)
{
    const bool cursor = kind == EKind::Cursor;
    const TFileDialogSetup setup = SaveDialogSetup(
        kind, std::string(cursor ? Messages::SaveAsCursorTitle : Messages::SaveAsIconTitle));
    if (const std::optional<std::string> file = m_platform.SaveFileDialog(setup)) {
        {
            // The conversion is a step of its own: undo gives the other kind back, with the
            // hotspots a cursor had.
            const TChangeScope scope(
                *this, cursor ? Messages::StepToCursor : Messages::StepToIcon, false);
            m_iconDirectory.SetKind(kind);
        }
        SaveIconFile(*file);
        RefreshView();
    }
    UpdateActions();
}

void TIconPane::PaintHotspot(
    const TIconDirectoryEntry& entry, TBitmap& canvas, const TRect& target) const
{
    // A cross through the middle of the hotspot pixel that leaves the pixel itself alone; its
    // arms reach 4 pixels past the enlarged pixel at every zoom.
    const int x = target.Left + entry.HotspotX * m_zoom + m_zoom / 2;
    const int y = target.Top + entry.HotspotY * m_zoom + m_zoom / 2;
    const int reach = m_zoom / 2 + 4;
    for (int d = (m_zoom + 1) / 2; d <= reach; ++d) {
        InvertPixel(canvas, x - d, y, target);
        InvertPixel(canvas, x + d, y, target);
        InvertPixel(canvas, x, y - d, target);
        InvertPixel(canvas, x, y + d, target);
    }
}

void TIconPane::OpenAnimatedCursorFrame(const std::string& fileName)
{
    TAnimatedCursor animation;
    try {
        animation = ReadAnimatedCursorFile(fileName);
    } catch (const std::exception& cause) {
        throw Exception(
            FormatText(Messages::IconFileNotOpened, { fileName }) + "\r\n" + cause.what());
    }
    std::vector<TFrameChoice> choices;
    choices.reserve(animation.Frames.size());
    size_t pictureBytes = 0;
    for (size_t f = 0; f < animation.Frames.size(); ++f) {
        TFrameChoice choice;
        choice.Text = FormatText(
            Messages::FrameChoice, { Num(static_cast<int>(f)), "?", "?", "?", "?", "?" });
        try {
            TIconDirectory frame;
            if (frame.LoadFromBytes(fileName, animation.Frames[f])) {
                int best = 0;
                for (int i = 1; i < frame.Count(); ++i)
                    if (frame.GetEntry(i).ImageWidth() > frame.GetEntry(best).ImageWidth())
                        best = i;
                const TIconDirectoryEntry& entry = frame.GetEntry(best);
                choice.Text = FormatText(Messages::FrameChoice,
                    { Num(static_cast<int>(f)), Num(entry.ImageWidth()), Num(entry.ImageHeight()),
                        Num(entry.BitCount), Num(entry.HotspotX), Num(entry.HotspotY) });
                const size_t bytes = size_t { 4 } * entry.ImageWidth() * entry.ImageHeight();
                if (pictureBytes + bytes <= ChooserPictureBudget) {
                    choice.Picture = IconPicture(*frame.GetImage(best).Icon);
                    pictureBytes += bytes;
                }
            }
        } catch (const std::exception&) {
            // A frame that cannot be drawn is still offered; opening it reports why.
        }
        choices.push_back(std::move(choice));
    }
    const std::filesystem::path path(fileName);
    const std::optional<int> chosen = m_platform.ChooseFrame(
        FormatText(Messages::ChooseFrameTitle, { path.filename().string() }), choices);
    if (!chosen || *chosen < 0 || static_cast<size_t>(*chosen) >= animation.Frames.size())
        return;
    // The frame becomes a cursor document beside the animation, so that a save never writes
    // over the animated cursor.
    const std::string frameName = (path.parent_path()
        / FormatText(Messages::FrameFileName, { path.stem().string(), Num(*chosen) }))
                                      .string();
    bool loaded = false;
    try {
        loaded = m_iconDirectory.LoadFromBytes(
            frameName, std::move(animation.Frames[static_cast<size_t>(*chosen)]));
    } catch (const std::exception& cause) {
        throw Exception(
            FormatText(Messages::IconFileNotOpened, { frameName }) + "\r\n" + cause.what());
    }
    if (!loaded) {
        m_platform.ShowMessage(FormatText(Messages::IconFileNotOpened, { frameName }));
        return;
    }
    m_animationTitle = animation.Title;
    MarkOpened();
    RefreshView();
    SetGridVisible(true);
    RepaintGrid();
}

} // namespace velmora

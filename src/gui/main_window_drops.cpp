// Drops on the window: an image cell dragged from one pane to the other, icon files opened and
// bitmaps and pictures imported in the pane they fall on, and scripts for the first pane. A drop
// that the program cannot use says why.

#include "application.h"
#include "cell_drag.h"
#include "frame_icon_directory.h"
#include "main_window.h"
#include "messages/messages.h"
#include "scripts/file_list_handler.h"
#include "support/error.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace velmora
{

namespace
{

std::string LocalName(const QString& file)
{
    const QByteArray bytes = QFile::encodeName(file);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool EndsWithIgnoringCase(const QString& name, const char* end)
{
    return name.endsWith(QLatin1String(end), Qt::CaseInsensitive);
}

} // namespace

void TFormQEBMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() || DraggedCellPane(event->mimeData()) != 0)
        event->acceptProposedAction();
}

void TFormQEBMain::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    const QMimeData* mime = event->mimeData();
    const QPoint position = event->position().toPoint();
    RunGuarded([&] { HandleDrop(mime, position); });
}

TFrameIconDirectory* TFormQEBMain::PaneAt(const QPoint& position) const
{
    for (TFrameIconDirectory* frame : { m_frameIcon1, m_frameIcon2 }) {
        const QRect area(frame->mapTo(this, QPoint(0, 0)), frame->size());
        if (area.contains(position))
            return frame;
    }
    return nullptr;
}

void TFormQEBMain::HandleDrop(const QMimeData* mime, const QPoint& position)
{
    TFrameIconDirectory* target = PaneAt(position);
    // An image cell dragged onto the other pane is added there, as "Add image to icon" does.
    if (const int source = DraggedCellPane(mime); source != 0) {
        TFrameIconDirectory* from = source == 1 ? m_frameIcon1 : m_frameIcon2;
        if (target && target != from) {
            from->Pane().UpdateActions();
            QAction* add = from->Action(TPaneAction::ImageAddTo);
            if (add->isEnabled())
                add->trigger();
        }
        return;
    }

    QStringList files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            files.push_back(url.toLocalFile());
    if (files.isEmpty()) {
        m_frameIcon1->ShowMessage(std::string(Messages::DropNotLocal));
        return;
    }
    emit FilesDropped(files);
    // A script runs against pane 1, as it always did.
    if (TFileListHandler::IsScriptFileName(LocalName(files.front()))) {
        HandleDroppedFiles(files);
        return;
    }
    // Bitmaps and pictures are imported into the pane they fall on; elsewhere on the window
    // into pane 1. The import ignores the other names.
    if (std::any_of(files.begin(), files.end(), [](const QString& file) {
            return EndsWithIgnoringCase(file, ".bmp") || EndsWithIgnoringCase(file, ".png")
                || IsVectorPictureName(LocalName(file));
        })) {
        ImportDroppedFiles(target ? target : m_frameIcon1, files);
        return;
    }
    const bool allIcons = std::all_of(files.begin(), files.end(),
        [](const QString& file) { return TFileListHandler::IsIconFileName(LocalName(file)); });
    if (allIcons) {
        OpenDroppedIcon(target ? target : m_frameIcon1, files.front());
        return;
    }
    (target ? target : m_frameIcon1)
        ->ShowMessage(
            FormatText(Messages::DropNotUsable, { LocalName(files.join(QStringLiteral("\r\n"))) }));
}

void TFormQEBMain::ImportDroppedFiles(TFrameIconDirectory* frame, const QStringList& files)
{
    TIconPane& pane = frame->Pane();
    const TIconPane::TCommandGuard guard(pane);
    if (!guard.Acquired())
        return;
    // The whole drop is one step that one undo takes back.
    const TIconPane::TChangeScope change(pane, Messages::StepImport);
    TStringList bitmaps;
    std::vector<std::string> vectorPictures;
    for (const QString& file : files) {
        const std::string name = LocalName(file);
        if (IsVectorPictureName(name))
            vectorPictures.push_back(name);
        else
            bitmaps.Add(name);
    }
    if (bitmaps.Count() > 0)
        pane.ImportBitmapFiles(bitmaps);
    // An SVG has no size of its own: it goes to the sizes dialog.
    for (const std::string& name : vectorPictures)
        pane.ImportPictureAskingSizes(name);
    pane.UpdateActions();
    frame->TakeFocus();
}

void TFormQEBMain::OpenDroppedIcon(TFrameIconDirectory* frame, const QString& file)
{
    TIconPane& pane = frame->Pane();
    // Not in the middle of a command of this pane, or of the partner that reads it.
    const TIconPane::TCommandGuard guard(pane, pane.PartnerPane());
    if (!guard.Acquired() || !pane.QuerySaveChanges())
        return;
    pane.OpenIconFile(LocalName(file), true);
    pane.UpdateActions();
    frame->TakeFocus();
}

} // namespace velmora

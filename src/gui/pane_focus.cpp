// The pane's part in keyboard focus and in following the desktop's clipboard.

#include "application.h"
#include "frame_icon_directory.h"
#include "image_grid_view.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>

namespace velmora
{

void TFrameIconDirectory::TakeFocus()
{
    if (m_grid && m_grid->isVisible())
        m_grid->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

void TFrameIconDirectory::keyReleaseEvent(QKeyEvent* event)
{
    // The visible grid took its own keys; these reach the pane while it has none to show (F11
    // imports a bitmap into the empty pane).
    const TGridKey key = GridKeyOf(event->key());
    if (key != TGridKey::Other && !event->isAutoRepeat() && hasFocus()) {
        RunGuarded([&] { m_pane->StringGridMainKeyUp(key); });
        event->accept();
        return;
    }
    QFrame::keyReleaseEvent(event);
}

void TFrameIconDirectory::SetFocusMarked(bool marked)
{
    if (m_focusMarked == marked)
        return;
    m_focusMarked = marked;
    // The headline of the pane that the keys act on takes the selection colours, as the
    // title of an active window does.
    m_headline->setAutoFillBackground(marked);
    m_headline->setBackgroundRole(marked ? QPalette::Highlight : QPalette::Window);
    m_headline->setForegroundRole(marked ? QPalette::HighlightedText : QPalette::WindowText);
    m_headline->update();
}

void TFrameIconDirectory::WatchClipboard()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    connect(clipboard, &QClipboard::dataChanged, this,
        [this] { RunGuarded([this] { m_pane->ClipboardChanged(); }); });
}

} // namespace velmora

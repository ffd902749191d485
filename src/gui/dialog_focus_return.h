#pragma once

#include <QObject>

namespace velmora
{

/// Gives the keyboard back to the window a dialog was shown over, once the dialog closes.
/// Without a window manager nobody else does: the X server hands the input focus to the root
/// window, and the main window's keys (F6, Ctrl+N, Ctrl+S) go nowhere until it is clicked.
class TDialogFocusReturn : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace velmora

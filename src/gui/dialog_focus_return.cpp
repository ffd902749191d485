#include "dialog_focus_return.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace velmora
{

namespace
{

// The window that takes the keys after a dialog: its owner, or else the first visible main
// window of the program.
QWidget* ReturnTarget(const QWidget* dialog)
{
    if (QWidget* owner = dialog->parentWidget())
        return owner->window();
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != dialog && top->isVisible() && top->windowType() == Qt::Window)
            return top;
    return nullptr;
}

} // namespace

bool TDialogFocusReturn::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Hide || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow() || widget->windowType() != Qt::Dialog)
        return QObject::eventFilter(watched, event);
    const QPointer<QWidget> target = ReturnTarget(widget);
    // Later, once the hide is through: a dialog that follows this one (a question, then the file
    // dialog) keeps the keys, and a window manager that already gave them back is not crossed.
    QTimer::singleShot(0, this, [target] {
        if (target && target->isVisible() && !QApplication::activeModalWidget()
            && !QApplication::activeWindow())
            target->activateWindow();
    });
    return QObject::eventFilter(watched, event);
}

} // namespace velmora

// The host window as the control sees it: the wait cursor while the control
// works, and the window disabled meanwhile.
#include "qxmavowin/qxmavowin_widget.h"

#include <QGuiApplication>
#include <QWidget>

WidgetHostWindow::WidgetHostWindow(QWidget* window) : window_(window) {}

WidgetHostWindow::~WidgetHostWindow()
{
    if (cursorOverridden_)
        QGuiApplication::restoreOverrideCursor();
}

void WidgetHostWindow::setMousePointer(int pointer)
{
    HostWindow::setMousePointer(pointer);
    const bool wait = pointer == pointer::Hourglass;
    if (wait && !cursorOverridden_) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        cursorOverridden_ = true;
    } else if (!wait && cursorOverridden_) {
        QGuiApplication::restoreOverrideCursor();
        cursorOverridden_ = false;
    }
}

void WidgetHostWindow::setEnabled(bool enabled)
{
    HostWindow::setEnabled(enabled);
    if (!window_)
        return;
    // A disabled window loses its focus; the keyboard user goes on where
    // the work began.
    if (!enabled && window_->isEnabled())
        focusBeforeBusy_ = window_->focusWidget();
    window_->setEnabled(enabled);
    if (enabled && focusBeforeBusy_) {
        focusBeforeBusy_->setFocus(Qt::OtherFocusReason);
        focusBeforeBusy_ = nullptr;
    }
}

// What the control shows the user besides its surface: its pauses, its
// message boxes and the box of a failure no handler expected.
#include "state/busy_state.h"
#include "store/control_error.h"
#include "ui/widget_private.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>

using namespace qxui;

namespace {

// The icon of a message box style (the style's 16, 32, 48 and 64 bits).
QMessageBox::Icon iconOfStyle(int style)
{
    switch (style & 0x70) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

void QxMavoWinWidget::Private::pause(double seconds)
{
    sync();
    QElapsedTimer clock;
    clock.start();
    const qint64 wait = static_cast<qint64>(seconds * 1000.0);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (wait - clock.elapsed() > 2)
            QThread::msleep(1);
    } while (clock.elapsed() < wait);
}

void QxMavoWinWidget::Private::presentMessage(const MessageBoxRecord& box)
{
    sync();
    showBox(iconOfStyle(box.style), box.title, box.text);
}

void QxMavoWinWidget::Private::showBox(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, q->window());
    box.setWindowModality(Qt::ApplicationModal);
    // The failure path shows its box while the host window is still
    // disabled; the box itself must take the answer.
    box.setEnabled(true);
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QGuiApplication::restoreOverrideCursor();
}

void QxMavoWinWidget::Private::reportUnhandled(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        emit q->unhandledError(describe(e));
        showUnhandledError(control.state(), e);
    }
}

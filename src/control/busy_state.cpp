#include "control/busy_state.h"

#include "adjust/week_refresh.h"
#include "adjust/write_check.h"
#include "qxmavowin/host_window.h"
#include "control/qx_mavowin.h"
#include "control/timetable_watch.h"
#include "store/control_error.h"
#include "store/lock_wait_bound.h"

#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcFailure, "qxmavowin.failure")

const char* kindName(FailureKind kind)
{
    switch (kind) {
    case FailureKind::Refused: return "refused";
    case FailureKind::Database: return "database";
    case FailureKind::Program: return "program";
    case FailureKind::Data: return "data";
    }
    return "data";
}

// Every failure a user meets is in the log too, with its kind: a program
// fault is a bug to report, a database failure a matter for whoever runs the
// server, a refusal what several desks make now and then.
void logFailure(const std::exception& e)
{
    const FailureKind kind = failureKind(e);
    if (kind == FailureKind::Refused)
        qCInfo(lcFailure, "%s: %s", kindName(kind), qUtf8Printable(describe(e)));
    else
        qCWarning(lcFailure, "%s: %s", kindName(kind), qUtf8Printable(describe(e)));
}

void showWarning(QX_MavoWin& control, const std::exception& e)
{
    logFailure(e);
    control.messages().show(describe(e), kMessageStyleInformation, kWarningTitle);
}

} // namespace

FailureKind failureKind(const std::exception& error)
{
    if (dynamic_cast<const EditRefused*>(&error))
        return FailureKind::Refused;
    if (dynamic_cast<const DbError*>(&error))
        return FailureKind::Database;
    if (dynamic_cast<const ProgramError*>(&error) || !dynamic_cast<const ControlError*>(&error))
        return FailureKind::Program;
    return FailureKind::Data;
}

void showUnhandledError(QX_MavoWin& control, const std::exception& error)
{
    logFailure(error);
    control.messages().show(describe(error), kMessageStyleCritical, QStringLiteral("QX_MavoWin"));
}

void setBusy(QX_MavoWin& control, bool busy)
{
    HostWindow* host = control.context().HostForm;
    if (!host || control.watch().showing())
        return;
    if (busy) {
        host->setMousePointer(pointer::Hourglass);
        host->setEnabled(false);
    } else {
        host->setEnabled(true);
        host->setMousePointer(pointer::Default);
    }
}

bool runAction(QX_MavoWin& control, Busy busy, const std::function<void()>& action)
{
    const QX_MavoWin::Acting acting(control);
    const LockWaitBound bound = control.boundWaits();
    if (busy == Busy::Yes)
        setBusy(control, true);
    try {
        action();
    } catch (const EditRefused& e) {
        // Nobody changed the timetable since the screen was filled: it
        // differs because the screen misses lessons, not because of a user.
        if (e.differs() && !control.othersChangedSinceShown())
            showWarning(control, EditRefused(unseenLessonsMessage(e.inTheWay())));
        else
            showWarning(control, e);
        // The user acted on a week that no longer is; show the one that is.
        try {
            ShowCurrentWeeks(control);
        } catch (const std::exception& refill) {
            showWarning(control, refill);
        }
        ScheduleContext& ctx = control.context();
        ctx.CaptureDragSource = true;
        ctx.DragSourceCell = nullptr;
        setBusy(control, false);
        return false;
    } catch (const std::exception& e) {
        showWarning(control, e);
        setBusy(control, false);
        return false;
    }
    if (busy == Busy::Yes)
        setBusy(control, false);
    return true;
}

#include "state/busy_state.h"

#include "qxmavowin/host_window.h"
#include "state/control_state.h"
#include "store/control_error.h"
#include "store/lock_wait_bound.h"
#include "store/refusal_text.h"

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

void showWarning(ControlState& state, const std::exception& e)
{
    logFailure(e);
    state.messages().show(describe(e), kMessageStyleInformation, kWarningTitle);
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

void showUnhandledError(ControlState& state, const std::exception& error)
{
    logFailure(error);
    state.messages().show(describe(error), kMessageStyleCritical, QStringLiteral("QX_MavoWin"));
}

void setBusy(ControlState& state, bool busy)
{
    HostWindow* host = state.context().HostForm;
    if (!host || state.showingOthersChange())
        return;
    if (busy) {
        host->setMousePointer(pointer::Hourglass);
        host->setEnabled(false);
    } else {
        host->setEnabled(true);
        host->setMousePointer(pointer::Default);
    }
}

bool runAction(ControlState& state, Busy busy, const std::function<void()>& action)
{
    const ControlState::Acting acting(state);
    const LockWaitBound bound = state.session().boundWaits();
    if (busy == Busy::Yes)
        setBusy(state, true);
    try {
        action();
    } catch (const EditRefused& e) {
        // Nobody changed the timetable since the screen was filled: it
        // differs because the screen misses lessons, not because of a user.
        if (e.differs() && !state.othersChangedSinceShown())
            showWarning(state, EditRefused(unseenLessonsMessage(e.inTheWay())));
        else
            showWarning(state, e);
        // The user acted on a week that no longer is; show the one that is.
        try {
            state.refreshAfterRefusal();
        } catch (const std::exception& refill) {
            showWarning(state, refill);
        }
        state.context().armDragCapture();
        setBusy(state, false);
        return false;
    } catch (const std::exception& e) {
        showWarning(state, e);
        setBusy(state, false);
        return false;
    }
    if (busy == Busy::Yes)
        setBusy(state, false);
    return true;
}

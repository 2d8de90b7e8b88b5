#include "control/busy_state.h"

#include "adjust/week_refresh.h"
#include "control/host_window.h"
#include "control/qx_mavowin.h"
#include "control/timetable_watch.h"
#include "store/control_error.h"

namespace {

void showWarning(QX_MavoWin& control, const std::exception& e)
{
    control.messages().show(describe(e), kMessageStyleInformation, kWarningTitle);
}

} // namespace

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
    if (busy == Busy::Yes)
        setBusy(control, true);
    try {
        action();
    } catch (const EditRefused& e) {
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

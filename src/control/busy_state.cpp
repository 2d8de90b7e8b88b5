#include "control/busy_state.h"

#include "control/host_window.h"
#include "control/qx_mavowin.h"
#include "store/control_error.h"

void setBusy(QX_MavoWin& control, bool busy)
{
    HostWindow* host = control.context().HostForm;
    if (!host)
        return;
    if (busy) {
        host->setMousePointer(pointer::Hourglass);
        host->setEnabled(false);
    } else {
        host->setEnabled(true);
        host->setMousePointer(pointer::Default);
    }
}

bool runBusy(QX_MavoWin& control, const std::function<void()>& operation)
{
    setBusy(control, true);
    try {
        operation();
    } catch (const std::exception& e) {
        control.messages().show(describe(e), kMessageStyleInformation, kWarningTitle);
        setBusy(control, false);
        return false;
    }
    setBusy(control, false);
    return true;
}

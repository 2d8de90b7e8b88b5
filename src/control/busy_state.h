#pragma once

#include <functional>

class QX_MavoWin;

// Runs an operation that takes time with the host window disabled and the
// hourglass pointer. Any failure takes the one failure path: a message box
// (information icon, title "警告") with the failure's description, then the
// host window enabled and its pointer restored. What was done before the
// failure stays. Returns false when the operation failed.
bool runBusy(QX_MavoWin& control, const std::function<void()>& operation);

// The busy state alone: hourglass on and host disabled, or the reverse.
void setBusy(QX_MavoWin& control, bool busy);

#pragma once

#include <exception>
#include <functional>

class ControlState;

// Whether a user action shows the busy state while it runs: the host window
// disabled and the hourglass pointer.
enum class Busy { Yes, No };

// Runs a user action. Any failure takes the one failure path: a message box
// (information icon, title "警告") with the failure's description; for an
// edit refused because the timetable changed, both weeks and plan lists are
// then shown afresh from the database and the drag capture is armed again;
// in the end the host window is enabled with its pointer restored. What was
// done before the failure stays. Returns false when the action failed.
// While it runs, the control is acting (ControlState::acting): changes of other
// desks wait.
bool runAction(ControlState& state, Busy busy, const std::function<void()>& action);

// An error that reached the host from a user action whose handling catches
// nothing, as a toolkit host shows it as its last resort: logged like every
// failure, and shown in a box with the error icon (style 16) titled
// "QX_MavoWin".
void showUnhandledError(ControlState& state, const std::exception& error);

// What a failure is, as its message and the log tell it: an edit refused
// because the timetable changed, the database failing, a fault of the
// program itself, or data the control cannot read.
enum class FailureKind { Refused, Database, Program, Data };
FailureKind failureKind(const std::exception& error);

// runAction with the busy state: for the operations that take time.
inline bool runBusy(ControlState& state, const std::function<void()>& operation)
{
    return runAction(state, Busy::Yes, operation);
}

// The busy state alone: hourglass on and host disabled, or the reverse.
// Nothing while live refresh shows another desk's change (TimetableWatch::showing).
void setBusy(ControlState& state, bool busy);

#pragma once

// What the weeks and plan lists show after the timetable changed, whoever
// changed it. Every change ends here: the user's drop (a new lesson, a move
// or exchange) and removal, an undo or redo, a chain of moves, another
// desk's change, and an edit refused because the timetable had changed.

#include "qxmavowin/side.h"
#include "state/edit_command.h"
#include "store/timetable_change.h"

#include <QString>

class ControlState;
struct Label;

// A new lesson dropped on the target cell, which already holds its tag: the
// grid gets the plain reset with the cell marked as changed and showing the
// caption; the other grid follows the lesson to its class or teacher, whose
// plan list is filled afresh; the drag capture is armed.
void ShowPlacedLesson(ControlState& state, Label& target, Side side, const QString& caption);
// The analysed lesson moved from the source cell to the target: the two
// cells trade caption and tag and are marked as changed after the plain
// reset; the other grid follows the lesson; the drag capture is armed.
void ShowMovedLesson(ControlState& state, Label& source, Label& target, Side side);
// The lesson of the cell was removed: the other grid is cleared, both plan
// lists are filled afresh (a list without a chosen owner keeps what it
// shows), and the cell is emptied before the plain reset of its grid.
void ShowRemovedLesson(ControlState& state, Label& cell, Side side);

// After an undo, a redo or a chain: the sides that show a class or teacher
// the edit touched are shown afresh, and the cells of its lessons marked as
// changed.
void ShowEditedWeeks(ControlState& state, const EditCommand::Touched& touched);

// After a refused edit or a reconnect: the chosen class's and teacher's
// weeks and plan lists afresh from the database, as choosing them again
// does (the analysis colours go). A side whose selector has no current
// entry keeps what it shows.
void ShowCurrentWeeks(ControlState& state);

// The sides a live refresh showed afresh.
struct ShownAfresh {
    bool classSide = false;
    bool teacherSide = false;
};

// A change another desk or program committed. Each side whose chosen class
// or teacher the change touched gets its week afresh from the database, and
// its plan list when the change may have changed hours left. An analysis on
// screen is then run again when what it was run on is still there, so that
// its colours are current: a lesson still in the cell it was analysed in, or
// a plan item still in its list with an hour left. Otherwise both grids get
// the plain reset, and the cells of a refreshed week that now hold another
// lesson are marked as changed. The drag capture is armed as after the
// analysis, or afresh.
//
// Never to be called while a drop, an animation or a drag is under way
// (control/timetable_watch.h waits for them).
ShownAfresh ShowChangedWeeks(ControlState& state, const TimetableChange& change);

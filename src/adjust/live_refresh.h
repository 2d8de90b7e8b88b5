#pragma once

#include "adjust/timetable_change.h"

class QX_MavoWin;

// The sides a live refresh showed afresh.
struct ShownAfresh {
    bool classSide = false;
    bool teacherSide = false;
};

// Shows a change another desk or program committed. Each side whose chosen
// class or teacher the change touched gets its week afresh from the
// database, and its plan list when the change may have changed hours left. An analysis on screen is then run again when what it
// was run on is still there, so that its colours are current: a lesson
// still in the cell it was analysed in, or a plan item still in its list
// with an hour left. Otherwise both grids get the plain reset, and the cells
// of a refreshed week that now hold another lesson are marked as changed.
// The drag capture is armed as after the analysis, or afresh.
//
// Never to be called while a drop, an animation or a drag is under way
// (control/timetable_watch.h waits for them).
ShownAfresh ShowChangedWeeks(QX_MavoWin& control, const TimetableChange& change);

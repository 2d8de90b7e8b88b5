#pragma once

#include "qxmavowin/side.h"

#include <QString>
#include <optional>

class ControlState;
struct LessonRef;

// A cell of a grid: weekday 1..7, index the period - 1.
struct GridCell {
    Side side = Side::Class;
    int weekday = 0;
    int index = 0;
};

// Takes the user towards a lesson the way the user would get there: chooses
// its class in cmbBj (first widening the level and grade to their empty
// "all" entries when the class is not offered) and its teacher in cmbJs.
// Returns the lesson's cell to right-click: in the class grid or, when
// another lesson of the slot shows there, in the teacher grid; none for a
// lesson without a cell of its own (a plan item, a position outside the
// grids). Throws ControlError when the class or teacher is not among the
// selectors' entries.
std::optional<GridCell> ChooseLesson(ControlState& state, const LessonRef& lesson);

// The lesson of the id as the timetable holds it now (an entry of the
// change history); none when it is no longer in the timetable.
std::optional<LessonRef> ReadLesson(ControlState& state, const QString& lessonId);

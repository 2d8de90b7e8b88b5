#pragma once

#include <QString>

class QX_MavoWin;
struct LessonRef;

// Takes the user to a lesson of a conflict entry the way the user would get
// there: chooses its class in cmbBj (first widening the level and grade to
// their empty "all" entries when the class is not offered) and its teacher
// in cmbJs, then right-clicks the lesson's cell, in the class grid or, when
// another lesson of the slot shows there, in the teacher grid. A lesson
// without a cell of its own (a plan item, a position outside the grids)
// only has its class and teacher chosen. Returns whether a cell was
// right-clicked; throws ControlError when the class or teacher is not
// among the selectors' entries.
bool ShowLesson(QX_MavoWin& control, const LessonRef& lesson);

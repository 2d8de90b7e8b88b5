#pragma once

#include <QString>

class QX_MavoWin;

// Chooses the class of a lesson of the timetable in cmbBj (widening the
// selector when a level or grade narrows it) and analyses the lesson in the
// class grid, as a right click on its cell does. False when the lesson is
// no longer in the timetable (the screen stays as it was) or not in the week
// the grid shows. A failure takes the one failure path
// (control/busy_state.h) and gives false.
bool ShowLesson(QX_MavoWin& control, const QString& lessonId);

#pragma once

#include "qxmavowin/export_selection.h"

#include <QString>
#include <array>
#include <vector>

struct TimetableRows;
struct Lesson;

// One lesson as a week page shows it: the other side's name over the
// course's short name, as the control's grid cells do with every display
// box ticked.
struct WeekEntry {
    QString firstLine, course;
};

// The week of one class or one teacher, laid out as the control's grid:
// seven weekdays by the timetable's periods. A slot may hold several
// lessons (a clash); lessons without a cell on the grid are only counted.
struct WeekPage {
    bool classSide = true;
    QString ownerId, ownerName;
    int periods = 0;
    std::array<std::vector<std::vector<WeekEntry>>, 7> cells; // [weekday - 1][period - 1]
    int offGrid = 0;

    // The weekdays the page shows, in order: every one but those whose day
    // setting has no periods (a school's free weekend), unless a lesson of
    // the page stands on it. A weekday without a setting has the grid's rows.
    std::vector<int> weekdays;

    const std::vector<WeekEntry>& at(int weekday, int period) const
    {
        return cells[static_cast<size_t>(weekday - 1)][static_cast<size_t>(period - 1)];
    }
    // "班级课表：高一(1)班" / "教师课表：张伟"
    QString title() const;
};

// The pages of the selection: the chosen classes, then the chosen teachers.
// "All" takes every class or teacher with a plan item in the timetable, by
// name. Throws ControlError for an id without a plan item in the timetable.
std::vector<WeekPage> weekPages(const TimetableRows& rows, const ExportSelection& selection);

// The lessons of the selection, each once: with all classes or all teachers
// every lesson of the timetable, else those of a chosen class or teacher;
// by class (or, when no class is chosen, by teacher), weekday and period.
// Throws ControlError as weekPages does.
std::vector<const Lesson*> selectedLessons(const TimetableRows& rows, const ExportSelection& selection);

#pragma once

#include "adjust/slot.h"

#include <QString>
#include <QStringList>
#include <vector>

class QX_MavoWin;

// One edit of the timetable: what it changes, computed from the surface
// before anything is written, and how to write it and its reverse. Each run
// is one checked write unit (adjust/write_check.h): it either writes all of
// its statements or, refused (EditRefused) or failed (DbError), none.
class EditCommand {
public:
    virtual ~EditCommand() = default;

    // Writes the edit: the first call is the user's own edit, later ones redo it.
    virtual void redo(QX_MavoWin& control) = 0;
    // Writes the edit's reverse.
    virtual void undo(QX_MavoWin& control) = 0;
    // Whether the timetable already stands as the undo would leave it: the
    // edit is not in the database (a host rolled back the transaction it was
    // written in), so there is nothing to undo.
    virtual bool undoneAlready(QX_MavoWin& control) const = 0;

    // How the user reads the edit, e.g. "移动 数学 1班 A张 星期一第3节 → 星期四第2节".
    virtual QString text() const = 0;

    // What the edit changes: the weeks to show again after an undo or redo,
    // and the cells to mark in them.
    struct Touched {
        QStringList classIds;
        QStringList teacherIds;
        QStringList lessonIds;
        std::vector<Slot> places;
    };
    virtual Touched touched() const = 0;
};

// The course, class and teacher of a lesson, as its edit names them.
struct LessonNames {
    QString course;
    QString className;
    QString teacher;

    QString text() const; // "数学 1班 A张"
};

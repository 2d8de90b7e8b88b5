#pragma once

#include "store/change_log.h"
#include "store/slot.h"

#include <QString>
#include <QStringList>
#include <vector>

class TimetableSession;

// One edit of the timetable: what it changes, computed from the surface
// before anything is written, and how to write it and its reverse. Each run
// is one checked write unit (adjust/write_check.h): it either writes all of
// its statements or, refused (EditRefused) or failed (DbError), none.
class EditCommand {
public:
    virtual ~EditCommand() = default;

    // Writes the edit: the first call is the user's own edit, later ones redo it.
    virtual void redo(TimetableSession& session) = 0;
    // Writes the edit's reverse.
    virtual void undo(TimetableSession& session) = 0;
    // Whether the timetable already stands as the undo would leave it: the
    // edit is not in the database (a host rolled back the transaction it was
    // written in), so there is nothing to undo.
    virtual bool undoneAlready(TimetableSession& session) const = 0;

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

protected:
    // Which run of redo() this is, as the change history names it: the
    // user's own edit until one has been written, a redo after.
    EditStep redoStep() const { return writtenOnce_ ? EditStep::Redo : EditStep::Edit; }
    bool writtenOnce() const { return writtenOnce_; }
    // A run of redo() committed.
    void markWritten() { writtenOnce_ = true; }

private:
    bool writtenOnce_ = false;
};

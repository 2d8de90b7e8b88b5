#pragma once

// What an edit checks inside its write unit, after the timetable's write
// lock is taken and before it commits: the lessons it acts on still stand
// where the user saw them, a new lesson keeps its plan item within its weekly
// hours, and no teacher or class ends up with more lessons in a slot than it
// had (when that is more than one). Each failed check throws EditRefused and
// the unit writes nothing.

#include "qxmavowin/side.h"
#include "store/change_log.h"
#include "store/connection.h"
#include "store/refusal_text.h"
#include "store/slot.h"

#include <QString>
#include <QStringList>
#include <vector>

class TimetableSession;

// A lesson of the timetable as the database holds it now.
struct PlacedLesson {
    QString id;
    QString planId;
    QString classId;
    QString teacherId;
    Slot slot;
};

// The classes and teachers whose lessons an edit looks at: those of every
// lesson it moves into a slot, and of every lesson it checks.
struct Owners {
    QStringList classIds;
    QStringList teacherIds;
};

// The lessons of some classes and teachers of the timetable in the slots an
// edit touches.
class SlotCensus {
public:
    static SlotCensus read(Connection& conn, const QString& xnId, const std::vector<Slot>& places,
                           const Owners& owners);
    void merge(const SlotCensus& more);

    const std::vector<PlacedLesson>& lessons() const { return lessons_; }
    // The lesson in the given slot; null when it is not there (moved, or gone).
    const PlacedLesson* at(const QString& lessonId, Slot slot) const;

private:
    std::vector<PlacedLesson> lessons_;
};

// One edit's write unit with its checks: the constructor takes the
// timetable's write lock and reads the slots the edit touches; the edit then
// checks what it needs against before() and sends its statements; commit()
// reads the slots again (when a lesson ends up in one), refuses a new double
// booking, appends the edit's
// row to the change history, tells the other desks of the timetable which
// classes and teachers it touched, and commits. Without commit() nothing is
// written and nobody is told.
class CheckedWrite {
public:
    CheckedWrite(TimetableSession& session, std::vector<Slot> places, Owners owners);

    const SlotCensus& before() const { return before_; }
    // A teacher found only now (the teacher of a lesson the edit moves that
    // no cell showed): its lessons in the slots are read before any write.
    void watchTeacher(const QString& teacherId);

    void commit(const LoggedEdit& edit);
    // An edit of several lessons (a chain of moves): one history row each.
    void commit(const std::vector<LoggedEdit>& edits);

private:
    void announce(const std::vector<LoggedEdit>& edits);

    TimetableSession& session_;
    Connection& conn_;
    QString xnId_;
    WriteUnit unit_;
    std::vector<Slot> places_;
    Owners owners_;
    SlotCensus before_;
};

// Refusals, each naming why in words the user can act on.
// The lesson still stands in the slot; returns it as it is stored.
const PlacedLesson& requireLessonAt(const SlotCensus& census, const QString& lessonId, Slot slot);
// The class or teacher of the side has no lesson in the slot.
void requireFree(const SlotCensus& census, Side side, const QString& ownerId, Slot slot);
// The plan item exists in the timetable and has an hour left.
void requireHourLeft(Connection& conn, const QString& xnId, const QString& planId);
// Sends a statement of the edit that acts on lesson `lessonId` by its id, and
// refuses the edit unless it touched exactly that lesson's one row: a host
// table without a key on kcb.id may hold two lessons with one id, and a write
// by id would then move or delete both.
void writeLessonRow(Connection& conn, const QString& text, const QString& lessonId);
// Inserts lesson `lessonId` back, refusing the edit when another lesson
// already holds that id.
void insertLessonRow(Connection& conn, const QString& text, const QString& lessonId);
// The slots of the rows that hold lesson `lessonId`, as the database holds
// them now (none when it is gone).
std::vector<Slot> slotsOfLesson(Connection& conn, const QString& lessonId);
// No teacher or class has more lessons in a slot than before, unless it has
// at most one; a double booking the data already held may stay.
void refuseNewDoubleBookings(const SlotCensus& before, const SlotCensus& after);

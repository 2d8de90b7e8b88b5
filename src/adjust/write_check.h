#pragma once

// What an edit checks inside its write unit, after the timetable's write
// lock is taken and before it commits: the lessons it acts on still stand
// where the user saw them, a new lesson keeps its plan item within its weekly
// hours, and no teacher or class ends up with more lessons in a slot than it
// had (when that is more than one). Each failed check throws EditRefused and
// the unit writes nothing.

#include "adjust/slot.h"

#include <QString>
#include <functional>
#include <vector>

class Connection;
class QX_MavoWin;

// A lesson of the timetable as the database holds it now.
struct PlacedLesson {
    QString id;
    QString planId;
    QString classId;
    QString teacherId;
    Slot slot;
};

// The timetable's lessons in the slots an edit touches.
class SlotCensus {
public:
    static SlotCensus read(Connection& conn, const QString& xnId, const std::vector<Slot>& places);

    const std::vector<PlacedLesson>& lessons() const { return lessons_; }
    // The lesson in the given slot; null when it is not there (moved, or gone).
    const PlacedLesson* at(const QString& lessonId, Slot slot) const;

private:
    std::vector<PlacedLesson> lessons_;
};

// Refusals, each naming why in words the user can act on.
// The lesson still stands in the slot; returns it as it is stored.
const PlacedLesson& requireLessonAt(const SlotCensus& census, const QString& lessonId, Slot slot);
// The class (classSide) or teacher has no lesson in the slot.
void requireFree(const SlotCensus& census, bool classSide, const QString& ownerId, Slot slot);
// The plan item exists in the timetable and has an hour left.
void requireHourLeft(Connection& conn, const QString& xnId, const QString& planId);
// No teacher or class of the slots has more lessons in a slot than before,
// unless it has at most one; a double booking the data already held may stay.
void refuseNewDoubleBookings(const SlotCensus& before, const SlotCensus& after);

// Runs one edit in a write unit of the control's timetable: reads the slots
// it touches, lets `write` check what it needs and send its statements, reads
// the slots again, refuses a new double booking, and commits.
void writeChecked(QX_MavoWin& control, const std::vector<Slot>& places,
                  const std::function<void(const SlotCensus& before)>& write);

// The text of the message box of a refused edit.
QString refusalMessage(const QString& reason);

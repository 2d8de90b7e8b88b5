#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The edits: placing, moving and removing lessons, and what an edit reads
// and announces inside its write unit.
// Values are written into quoted literals with their single quotes doubled.
namespace sql {

// Placement, exchange and removal.
QString insertLesson(const QString& id, const QString& planId, int weekday, int period);
QString classLessonAtSlot(const QString& xnId, const QString& classId, int weekday, int period);
QString moveLesson(int weekday, int period, const QString& lessonId);
QString deleteLesson(const QString& lessonId);

// Write-time checks of an edit, read inside its write unit. A slot is a
// weekday and a period.
// The lessons of the given classes and teachers of the timetable in the
// given slots, with plan item, class and teacher. As one condition on the
// owners, or (unionOfOwners) as the union of one read for the classes and
// one for the teachers: SQLite reaches each through its own index only so,
// while PostgreSQL plans the one condition in a fifth of the time.
QString lessonsInSlots(const QString& xnId, const std::vector<std::pair<int, int>>& places, const QStringList& classIds,
                       const QStringList& teacherIds, bool unionOfOwners);
// A plan item of the timetable: its weekly hours and how many lessons it has.
QString planItemPlacement(const QString& planId, const QString& xnId);
// The weekday and period of every row of kcb that holds the lesson id.
QString lessonSlots(const QString& lessonId);
// How many rows of kcb hold the lesson id (one, unless the host's table has no key on it).
QString lessonsWithId(const QString& lessonId);
// Course, class and teacher names of plan items, for an edit's description.
QString planItemNames(const QStringList& planIds);
// PostgreSQL: marks the transaction as one whose changes to kcb the control
// announces itself, so that the trigger on kcb (data/schema-postgres.sql)
// leaves them alone.
QString markOwnNotice();
// PostgreSQL: a notification on a channel, sent when the transaction
// commits; it takes the mark off, so that later changes of the transaction
// are the trigger's again.
QString notifyChange(const QString& channel, const QString& payload);
// A lesson of the timetable: its class, teacher, weekday and period.
QString lessonPlace(const QString& xnId, const QString& lessonId);

} // namespace sql

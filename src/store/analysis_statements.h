#pragma once

#include <QString>

// The move analysis of a lesson: its position, the lessons that clash with
// it and the settings rows of its teacher, class and course.
// Values are written into quoted literals with their single quotes doubled.
namespace sql {

// "...Equivalent": what SQLite and PostgreSQL run in place of the same-stem statement (sqlite_equivalents.h).

QString positionCondition(int weekday, int period);
QString clashSet(const QString& xnId, const QString& classId, const QString& teacherId, const QString& condition);
// What SQLite and PostgreSQL run in its place (sqlite_equivalents.h): the teacher's lessons,
// then the class's other clashing lessons, each reached through its own index
// instead of one scan of all of kcb (for a plan item, through each lesson's
// teacher instead of every teacher busy anywhere). Both alternatives name
// xn_id, which only a joined plan item has, so the inner join keeps the same
// rows.
QString clashSetEquivalent(const QString& xnId, const QString& classId, const QString& teacherId,
                           const QString& condition);
QString teacherSettings(const QString& teacherId, const QString& xnId);
QString classSettings(const QString& classId, const QString& xnId);
QString courseSettings(const QString& courseId, const QString& xnId);

} // namespace sql

#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// Every statement text of the control. Values are written into quoted
// literals with their single quotes doubled; a value without quotes gives
// exactly the fixed text with the value in its place.
namespace sql {

// Dialect switch: 0 selects SQL Server syntax, any other value Access/Jet.
inline bool isSqlServer(int dataType) { return dataType == 0; }

// "...Equivalent": what SQLite and PostgreSQL run in place of the same-stem statement (sqlite_equivalents.h).

// Start-up: the timetable's sz_xn row.
QString findTimetable(const QString& schoolYear, const QString& term, const QString& scheduleName);

// The plan view: a derived table that can follow "select * from ".
QString planView(int dataType, const QString& xnId);
// What SQLite and PostgreSQL run in its place (sqlite_equivalents.h): the same rows, the
// placed hours counted per plan item instead of grouping all of kcb first.
QString planViewEquivalent(int dataType, const QString& xnId);

// The number of periods per day (one column, maxs).
QString periodCount(int dataType, const QString& schoolYear, const QString& term, const QString& scheduleName);

// A selector fill; the order column is left out when empty.
QString selectorFill(const QString& columns, const QString& table, const QString& condition,
                     const QString& orderColumn);

// Level and grade narrowing conditions, from the selectors' texts.
QString levelCondition(const QString& level);
QString gradeCondition(const QString& grade);

// Conditions of the plan lists.
QString classPlanCondition(const QString& classId);
QString teacherPlanCondition(const QString& teacherId);

// A plan list fill.
QString planListFill(const QString& planViewSql, const QString& condition);

// Grid fill filters and the fill itself.
QString classFilter(const QString& classId);
QString teacherFilter(const QString& teacherId);
QString gridFill(const QString& xnId, const QString& filter);
// What SQLite and PostgreSQL run in its place (sqlite_equivalents.h): each
// "X right join (S) as A on C" written as "(S) as A left join X on C", which
// SQLite flattens instead of scanning S once per row of X.
QString gridFillEquivalent(const QString& xnId, const QString& filter);

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
// PostgreSQL: holds the edits of one timetable until the transaction ends.
// The key is the timetable id within the session's schema, so that
// timetables of the same id in two schemas of one database do not wait for
// each other; the space keeps it apart from other programs' advisory locks.
QString timetableEditLock(const QString& timetableId);
// SQLite: a write that changes nothing, so that a transaction already open
// takes the file's write lock now rather than at its first real write.
QString takeWriteLock();

// Live refresh and the change history (kcb_log, see data/schema-*.sql).
// PostgreSQL: the schema of the kcb that the session's search path finds;
// no row when there is none.
QString timetableSchema();
// PostgreSQL: marks the transaction as one whose changes to kcb the control
// announces itself, so that the trigger on kcb (data/schema-postgres.sql)
// leaves them alone.
QString markOwnNotice();
// PostgreSQL: a notification on a channel, sent when the transaction
// commits; it takes the mark off, so that later changes of the transaction
// are the trigger's again.
QString notifyChange(const QString& channel, const QString& payload);
// SQLite: a number that changes whenever another connection commits to the file.
QString dataVersion();
// Whether the database has a table, or a table's column: one row when it has,
// none when not (also when the table is missing).
QString tablePresentSqlite(const QString& table);
QString tablePresentPostgres(const QString& table);
QString columnPresentSqlite(const QString& table, const QString& column);
QString columnPresentPostgres(const QString& table, const QString& column);
// PostgreSQL: the rows of kcb and the newest transaction that wrote one of
// them; any committed insert, update or delete changes the pair.
QString timetableRowsVersionPostgres();
// One row of kcb_log; its sequence, time and database user are the
// columns' defaults. A weekday or period of 0 and an empty id are null.
struct ChangeLogRow {
    QString xnId, desk, step, kind, lessonId, planId, otherId;
    int beforeDay = 0, beforePeriod = 0, afterDay = 0, afterPeriod = 0;
};
QString appendChangeLog(const ChangeLogRow& row);
// The newest rows of a timetable's kcb_log, newest first, with the course,
// class and teacher names and the class id of each row's plan item; only
// those of one class or one teacher when its id is given.
QString recentChanges(const QString& xnId, int count, const QString& classId = {}, const QString& teacherId = {});
// A lesson of the timetable: its class, teacher, weekday and period.
QString lessonPlace(const QString& xnId, const QString& lessonId);

// Move analysis: the position condition of a lesson, the clash set and the
// settings rows of its teacher, class and course.
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

// The whole timetable at once, for the conflict check and the export.
// Joins are nested in parentheses, a form every engine of both dialects reads.
// Every timetable, in a fixed order (id, 学年, 学期, 排课名称).
QString allTimetables();
// The timetable's plan items with the names of their class, teacher and course.
QString timetablePlanItems(const QString& xnId);
// The timetable's lessons (id, plan item, weekday, period), in the order of their ids.
QString timetableLessons(const QString& xnId);
// The timetable's day settings (星期, 上午, 下午, 晚上); without the weekday
// column, 星期 is null in every row.
QString timetableDays(const QString& xnId, bool withWeekday);
// The 不排课节 of every teacher, class or course of the timetable (owner id, value).
QString timetableTeacherSettings(const QString& xnId);
QString timetableClassSettings(const QString& xnId);
QString timetableCourseSettings(const QString& xnId);

} // namespace sql

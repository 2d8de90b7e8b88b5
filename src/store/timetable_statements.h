#pragma once

#include <QString>

// The timetable: its sz_xn row at start-up, and the whole of it at once, for
// the conflict check, chains and the export.
// Values are written into quoted literals with their single quotes doubled.
namespace sql {

// Start-up: the timetable's sz_xn row.
QString findTimetable(const QString& schoolYear, const QString& term, const QString& scheduleName);

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

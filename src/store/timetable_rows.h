#pragma once

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

class Connection;

// One timetable as its rows: plan items with the names of their class,
// teacher and course, every lesson, and the day settings. The conflict check
// and the export read a timetable only through this, so that both see the
// same lessons.
struct PlanItem {
    QString id, classId, teacherId, courseId;
    QString className, teacherName, courseName, courseShortName;
    QVariant weeklyHours; // 每周课时 as stored
};

struct Lesson {
    QString id;
    size_t plan = 0;          // index into TimetableRows::plans
    QVariant weekday, period; // as stored
};

struct TimetableRows {
    QString xnId;
    std::vector<PlanItem> plans;
    std::vector<Lesson> lessons; // in the order of their ids
    // Periods of each weekday 1..7 with a day setting (上午 + 下午 + 晚上);
    // empty for a weekday without one.
    std::vector<std::optional<int>> dayPeriods = std::vector<std::optional<int>>(7);

    // The rows of the week grids: the most periods of any day setting, as
    // the control builds its grids (0 without day settings).
    int gridPeriods = 0;

    const PlanItem& planOf(const Lesson& lesson) const { return plans[lesson.plan]; }

    // The periods of weekday 1..7: its own setting, or the grids' rows when it has none.
    int periodsOf(int weekday) const;
};

// A stored weekday, period or hour count as a whole number; empty when it is
// null or not a whole number.
std::optional<int> wholeNumberOf(const QVariant& value);

// How reports and printed pages name a timetable: "2005-2006 学年 第 2 学期 课表".
QString timetableTitle(const QString& schoolYear, const QString& term, const QString& scheduleName);

// Reads timetable xnId. Throws DbError when a statement fails.
TimetableRows readTimetableRows(Connection& conn, const QString& xnId);


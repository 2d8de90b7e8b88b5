#pragma once

#include <QJsonObject>
#include <QString>
#include <QVariant>
#include <vector>

// What the conflict check finds in a timetable. Every kind but HoursLeft is
// a conflict: a timetable with one should not be published.
enum class ProblemKind {
    TeacherClash,    // a teacher has two or more lessons in one slot
    ClassClash,      // a class has two or more lessons in one slot
    ForbiddenPeriod, // a lesson in a forbidden period of its teacher, class or course
    OutsideWeek,     // a lesson whose weekday is not 1 to 7
    BeyondDay,       // a lesson whose period is not one of its day's periods
    DuplicateId,     // two or more lessons share one id
    OverPlaced,      // a plan item placed more often than its weekly hours
    BadWeeklyHours,  // a plan item whose weekly hours are no whole number the control reads
    HoursLeft,       // a plan item with hours still to place (information)
};

inline constexpr ProblemKind kProblemKinds[] = {
    ProblemKind::TeacherClash, ProblemKind::ClassClash,     ProblemKind::ForbiddenPeriod,
    ProblemKind::OutsideWeek,  ProblemKind::BeyondDay,      ProblemKind::DuplicateId,
    ProblemKind::OverPlaced,   ProblemKind::BadWeeklyHours, ProblemKind::HoursLeft,
};

// The heading a user reads ("教师冲突") and the key of JSON ("teacherClash").
QString kindTitle(ProblemKind kind);
QString kindKey(ProblemKind kind);
inline bool isConflict(ProblemKind kind) { return kind != ProblemKind::HoursLeft; }

// A lesson as an entry names it; for a plan item without a lesson of its own
// (hours left) the lesson id is empty and weekday and period are null.
struct LessonRef {
    QString lessonId, planId;
    QString classId, teacherId, courseId;
    QString course, className, teacher;
    QVariant weekday, period; // as stored

    // "数学 1班 A张 星期一 第三节" (the position as stored when it names no cell).
    QString describe() const;
};

struct Problem {
    ProblemKind kind = ProblemKind::TeacherClash;
    std::vector<LessonRef> lessons;
    QString detail;                  // what is wrong, in a sentence
    int placed = 0, weeklyHours = 0; // OverPlaced and HoursLeft; BadWeeklyHours: placed only
};

struct ConflictReport {
    QString xnId;
    std::vector<Problem> problems; // by kind in the order of kProblemKinds

    int count(ProblemKind kind) const;
    int conflictCount() const;
    int hoursLeft() const; // the hours of every HoursLeft entry
};

// "冲突 3 处；剩余课时 13 课时（12 个教学计划）"
QString reportSummary(const ConflictReport& report);

// "星期一" for 1 to 7, else the value as stored ("星期 9").
QString weekdayName(const QVariant& weekday);
// "第三节" for a whole number from 1, else the value as stored ("第 x 节").
QString periodName(const QVariant& period);

// The report as kbtz-check --json and the driver's `conflicts` give it:
// {"timetable", "conflicts", "hoursLeft": {"items", "hours"}, "counts": {key: n},
//  "problems": [{"kind", "title", "detail", "lessons": [...], "placed", "weeklyHours"}]}
QJsonObject reportJson(const ConflictReport& report);

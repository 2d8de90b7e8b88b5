#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>
#include <vector>

// A school as rows of the timetable database, built in memory first so that
// placement can check clashes cheaply and the writer can batch its inserts.
// Nullable columns are QVariant: an invalid or null QVariant is written as null.
namespace gen {

struct TimetableRow {
    QString id, schoolYear, term, scheduleName;
};
struct DayRow {
    QString xnId;
    int weekday = 1;
    QString morning, afternoon, evening;
};
struct ClassRow {
    QString id, name, grade, level;
    QVariant stream;
};
struct TeacherRow {
    QString id, name, code, group;
};
struct CourseRow {
    QString id, name, shortName;
};
struct PlanRow {
    QString id, xnId, classId, teacherId, courseId;
    int hours = 0;
};
struct LessonRow {
    QString id, planId;
    int weekday = 0, period = 0;
};
struct TeacherSettingRow {
    QString xnId, teacherId;
    QVariant forbidden, consecutive;
};
struct ClassSettingRow {
    QString xnId, classId;
    QVariant forbidden;
};
struct CourseSettingRow {
    QString xnId, courseId;
    QVariant forbidden, priority, simultaneous, consecutivePeriods;
};
struct PlanSettingRow {
    QString planId;
    QVariant forbidden;
};

struct School {
    // The timetable that tools open (first of `timetables`).
    QString mainXnId;
    std::vector<TimetableRow> timetables;
    std::vector<DayRow> days;
    std::vector<ClassRow> classes;
    std::vector<TeacherRow> teachers;
    std::vector<CourseRow> courses;
    std::vector<PlanRow> plans;
    std::vector<LessonRow> lessons;
    std::vector<TeacherSettingRow> teacherSettings;
    std::vector<ClassSettingRow> classSettings;
    std::vector<CourseSettingRow> courseSettings;
    std::vector<PlanSettingRow> planSettings;
};

// What the main timetable holds, as kbtz-gen prints it.
struct Summary {
    int classes = 0;
    int teachers = 0;
    int planItems = 0;
    int lessons = 0;
    int hoursLeft = 0;
};
Summary summarize(const School& school);

// The school of the test host: timetable 2005-2006 / 2 / 课表 with 12
// classes in two levels, 26 teachers (王芳 and 吴凡 share the code WF),
// 12 courses, 4 + 4 + 0 periods on weekdays 1 to 5, a clash-free timetable
// with some hours left, some forbidden periods; and a second timetable
// (term 1) with a few rows of its own that scoping by xn_id must ignore.
School sampleSchool();

struct SyntheticOptions {
    int classes = 12;
    int teachers = 30;
    int morning = 4;
    int afternoon = 4;
    int evening = 0;
    int days = 5;           // teaching weekdays, 1 to 7
    int itemsPerClass = 12; // plan items (courses) per class, at most 16
    double fill = 1.0;      // share of the plan hours to place, 0 to 1
    std::uint64_t seed = 1;
};

// A school of any size in one timetable (2005-2006 / 2 / 课表): each class
// gets its courses with 1 to 6 hours filling all but about one slot of its
// week, teachers are spread over the courses by their hours, and the chosen
// share of hours is placed clash-free (per class and per teacher slot),
// outside every forbidden period. Hours that cannot be placed stay left.
School syntheticSchool(const SyntheticOptions& options);

// One entry of a 不排课节 value: a weekday and its periods, written
// "weekday:period\tperiod/"; the control's reader is store/forbidden_periods.h.
struct ForbiddenDay {
    int weekday = 1;
    std::vector<int> periods;
};
QString forbiddenText(const std::vector<ForbiddenDay>& days);

} // namespace gen

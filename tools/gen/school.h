#pragma once

#include <QString>
#include <QVariant>
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

// The seven day rows (sz_xn_rq) of a timetable: weekdays 1 to `days` teach
// the given periods, the others none.
void addDays(School& school, const QString& xnId, int days, int morning, int afternoon, int evening);

// The null of a nullable integer or text column.
QVariant nullInt();
QVariant nullText();

} // namespace gen

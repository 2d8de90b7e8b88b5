#include "qxmavowin/conflict_report.h"

#include "grid/build_grids.h"
#include "store/timetable_rows.h"
#include "store/value_text.h"

#include <QJsonArray>
#include <algorithm>

QString kindTitle(ProblemKind kind)
{
    switch (kind) {
    case ProblemKind::TeacherClash: return QStringLiteral("教师冲突");
    case ProblemKind::ClassClash: return QStringLiteral("班级冲突");
    case ProblemKind::ForbiddenPeriod: return QStringLiteral("不排课节");
    case ProblemKind::OutsideWeek: return QStringLiteral("星期超出范围");
    case ProblemKind::BeyondDay: return QStringLiteral("课节超出当天节数");
    case ProblemKind::DuplicateId: return QStringLiteral("课表编号重复");
    case ProblemKind::OverPlaced: return QStringLiteral("超出每周课时");
    case ProblemKind::BadWeeklyHours: return QStringLiteral("每周课时无效");
    case ProblemKind::HoursLeft: return QStringLiteral("剩余课时");
    }
    return QString();
}

QString kindKey(ProblemKind kind)
{
    switch (kind) {
    case ProblemKind::TeacherClash: return QStringLiteral("teacherClash");
    case ProblemKind::ClassClash: return QStringLiteral("classClash");
    case ProblemKind::ForbiddenPeriod: return QStringLiteral("forbiddenPeriod");
    case ProblemKind::OutsideWeek: return QStringLiteral("outsideWeek");
    case ProblemKind::BeyondDay: return QStringLiteral("beyondDay");
    case ProblemKind::DuplicateId: return QStringLiteral("duplicateId");
    case ProblemKind::OverPlaced: return QStringLiteral("overPlaced");
    case ProblemKind::BadWeeklyHours: return QStringLiteral("badWeeklyHours");
    case ProblemKind::HoursLeft: return QStringLiteral("hoursLeft");
    }
    return QString();
}

QString weekdayName(const QVariant& weekday)
{
    const std::optional<int> d = wholeNumberOf(weekday);
    if (d && *d >= 1 && *d <= 7)
        return WeekdayName(*d);
    return QStringLiteral("星期 ") + (weekday.isNull() ? QStringLiteral("(空)") : joinText(weekday));
}

QString periodName(const QVariant& period)
{
    const std::optional<int> p = wholeNumberOf(period);
    if (p && *p >= 1)
        return QStringLiteral("第") + PeriodNumeral(*p) + QStringLiteral("节");
    return QStringLiteral("第 ") + (period.isNull() ? QStringLiteral("(空)") : joinText(period)) +
           QStringLiteral(" 节");
}

QString LessonRef::describe() const
{
    QString text = course + u' ' + className + u' ' + teacher;
    if (!lessonId.isEmpty())
        text += u' ' + weekdayName(weekday) + u' ' + periodName(period);
    return text;
}

int ConflictReport::count(ProblemKind kind) const
{
    return static_cast<int>(
        std::count_if(problems.begin(), problems.end(), [kind](const Problem& p) { return p.kind == kind; }));
}

int ConflictReport::conflictCount() const
{
    return static_cast<int>(
        std::count_if(problems.begin(), problems.end(), [](const Problem& p) { return isConflict(p.kind); }));
}

int ConflictReport::hoursLeft() const
{
    int hours = 0;
    for (const Problem& p : problems)
        if (p.kind == ProblemKind::HoursLeft)
            hours += p.weeklyHours - p.placed;
    return hours;
}

QString reportSummary(const ConflictReport& report)
{
    return QStringLiteral("冲突 %1 处；剩余课时 %2 课时（%3 个教学计划）")
        .arg(report.conflictCount())
        .arg(report.hoursLeft())
        .arg(report.count(ProblemKind::HoursLeft));
}

namespace {

QJsonValue storedValue(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return QJsonValue::Null;
    if (const std::optional<int> whole = wholeNumberOf(value))
        return *whole;
    return joinText(value);
}

QJsonObject lessonJson(const LessonRef& l)
{
    return QJsonObject{{"id", l.lessonId.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(l.lessonId)},
                       {"plan", l.planId},
                       {"course", l.course},
                       {"class", l.className},
                       {"teacher", l.teacher},
                       {"courseId", l.courseId},
                       {"classId", l.classId},
                       {"teacherId", l.teacherId},
                       {"weekday", storedValue(l.weekday)},
                       {"period", storedValue(l.period)}};
}

} // namespace

QJsonObject reportJson(const ConflictReport& report)
{
    QJsonObject counts;
    for (ProblemKind kind : kProblemKinds)
        counts.insert(kindKey(kind), report.count(kind));
    QJsonArray problems;
    for (const Problem& p : report.problems) {
        QJsonArray lessons;
        for (const LessonRef& l : p.lessons)
            lessons.append(lessonJson(l));
        QJsonObject entry{
            {"kind", kindKey(p.kind)}, {"title", kindTitle(p.kind)}, {"detail", p.detail}, {"lessons", lessons}};
        if (p.kind == ProblemKind::OverPlaced || p.kind == ProblemKind::HoursLeft) {
            entry.insert("placed", p.placed);
            entry.insert("weeklyHours", p.weeklyHours);
        } else if (p.kind == ProblemKind::BadWeeklyHours) {
            entry.insert("placed", p.placed);
        }
        problems.append(entry);
    }
    return QJsonObject{
        {"timetable", report.xnId},
        {"conflicts", report.conflictCount()},
        {"hoursLeft", QJsonObject{{"items", report.count(ProblemKind::HoursLeft)}, {"hours", report.hoursLeft()}}},
        {"counts", counts},
        {"problems", problems}};
}

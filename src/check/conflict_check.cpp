#include "check/conflict_check.h"

#include "adjust/forbidden_periods.h"
#include "check/timetable_rows.h"
#include "control/qx_mavowin.h"
#include "store/connection.h"
#include "store/statements.h"
#include "store/value_text.h"

#include <QHash>
#include <algorithm>
#include <climits>
#include <map>
#include <tuple>

namespace {

using Settings = QHash<QString, std::vector<ForbiddenEntry>>;

// The first settings row of each owner, as the analysis takes the first row
// its own statement returns.
Settings readSettings(Connection& conn, const QString& text)
{
    Settings settings;
    for (Recordset rs = conn.open(text, CursorType::Static, LockType::ReadOnly); !rs.atEnd(); rs.MoveNext()) {
        const QString owner = joinText(rs.field(0));
        if (!settings.contains(owner))
            settings.insert(owner, parseForbiddenPeriods(joinText(rs.field(1))));
    }
    return settings;
}

bool forbids(const Settings& settings, const QString& owner, int weekday, int period)
{
    const auto it = settings.constFind(owner);
    if (it == settings.cend())
        return false;
    return std::any_of(it->begin(), it->end(),
                       [&](const ForbiddenEntry& e) { return e.weekday == weekday && e.names(period); });
}

LessonRef planRef(const PlanItem& plan)
{
    LessonRef ref;
    ref.planId = plan.id;
    ref.classId = plan.classId;
    ref.teacherId = plan.teacherId;
    ref.courseId = plan.courseId;
    ref.course = plan.courseName;
    ref.className = plan.className;
    ref.teacher = plan.teacherName;
    return ref;
}

LessonRef lessonRef(const TimetableRows& rows, const Lesson& lesson)
{
    LessonRef ref = planRef(rows.planOf(lesson));
    ref.lessonId = lesson.id;
    ref.weekday = lesson.weekday;
    ref.period = lesson.period;
    return ref;
}

QString quoted(const QVariant& value) { return QStringLiteral("“") + joinText(value) + QStringLiteral("”"); }

class Checker {
public:
    Checker(const TimetableRows& rows, const Settings& teachers, const Settings& classes, const Settings& courses)
        : rows_(rows), teachers_(teachers), classes_(classes), courses_(courses)
    {
    }

    ConflictReport run()
    {
        std::vector<std::vector<size_t>> lessonsOfPlan(rows_.plans.size());
        for (size_t i = 0; i < rows_.lessons.size(); ++i) {
            lessonsOfPlan[rows_.lessons[i].plan].push_back(i);
            checkPosition(i);
        }
        addClashes(ProblemKind::TeacherClash, teacherSlots_, [](const LessonRef& l) { return l.teacher; });
        addClashes(ProblemKind::ClassClash, classSlots_, [](const LessonRef& l) { return l.className; });
        for (size_t p = 0; p < rows_.plans.size(); ++p)
            checkHours(p, lessonsOfPlan[p]);
        sortProblems();
        report_.xnId = rows_.xnId;
        return std::move(report_);
    }

private:
    using Slot = std::tuple<QString, int, int>; // owner, weekday, period

    void add(ProblemKind kind, std::vector<LessonRef> lessons, QString detail, int placed = 0, int hours = 0)
    {
        report_.problems.push_back({kind, std::move(lessons), std::move(detail), placed, hours});
    }

    void checkPosition(size_t index)
    {
        const Lesson& lesson = rows_.lessons[index];
        const PlanItem& plan = rows_.planOf(lesson);
        const std::optional<int> weekday = wholeNumberOf(lesson.weekday);
        const std::optional<int> period = wholeNumberOf(lesson.period);
        if (!weekday || *weekday < 1 || *weekday > 7) {
            add(ProblemKind::OutsideWeek, {lessonRef(rows_, lesson)},
                QStringLiteral("星期%1不是星期一到星期日").arg(quoted(lesson.weekday)));
        } else if (!period || *period < 1 || *period > rows_.periodsOf(*weekday)) {
            add(ProblemKind::BeyondDay, {lessonRef(rows_, lesson)},
                QStringLiteral("课节%1不在%2的 %3 节之内")
                    .arg(quoted(lesson.period), weekdayName(*weekday), QString::number(rows_.periodsOf(*weekday))));
        }
        // Two lessons at the same stored position clash wherever it is.
        if (!weekday || !period)
            return;
        if (!plan.teacherId.isEmpty())
            teacherSlots_[{plan.teacherId, *weekday, *period}].push_back(index);
        if (!plan.classId.isEmpty())
            classSlots_[{plan.classId, *weekday, *period}].push_back(index);

        QStringList owners;
        if (forbids(teachers_, plan.teacherId, *weekday, *period))
            owners << QStringLiteral("[教师]") + plan.teacherName;
        if (forbids(classes_, plan.classId, *weekday, *period))
            owners << QStringLiteral("[班级]") + plan.className;
        if (forbids(courses_, plan.courseId, *weekday, *period))
            owners << QStringLiteral("[课程]") + plan.courseName;
        if (!owners.isEmpty())
            add(ProblemKind::ForbiddenPeriod, {lessonRef(rows_, lesson)},
                owners.join(QStringLiteral("、")) + QStringLiteral(" 已在此课节被设定不能排课"));
    }

    template <typename Name>
    void addClashes(ProblemKind kind, const std::map<Slot, std::vector<size_t>>& bySlot, Name name)
    {
        for (const auto& [slot, lessons] : bySlot) {
            if (lessons.size() < 2)
                continue;
            std::vector<LessonRef> refs;
            for (size_t i : lessons)
                refs.push_back(lessonRef(rows_, rows_.lessons[i]));
            const QString detail = QStringLiteral("%1 在%2%3有 %4 节课")
                                       .arg(name(refs.front()), weekdayName(std::get<1>(slot)),
                                            periodName(std::get<2>(slot)), QString::number(refs.size()));
            add(kind, std::move(refs), detail);
        }
    }

    void checkHours(size_t planIndex, const std::vector<size_t>& lessons)
    {
        const PlanItem& plan = rows_.plans[planIndex];
        // A plan item without a readable number of hours has no quota to keep.
        const std::optional<int> hours = wholeNumberOf(plan.weeklyHours);
        if (!hours)
            return;
        const int placed = static_cast<int>(lessons.size());
        if (placed > *hours) {
            std::vector<LessonRef> refs;
            for (size_t i : lessons)
                refs.push_back(lessonRef(rows_, rows_.lessons[i]));
            add(ProblemKind::OverPlaced, std::move(refs),
                QStringLiteral("每周 %1 课时，已排 %2 节").arg(*hours).arg(placed), placed, *hours);
        } else if (placed < *hours) {
            add(ProblemKind::HoursLeft, {planRef(plan)},
                QStringLiteral("每周 %1 课时，已排 %2 节，剩余 %3 课时").arg(*hours).arg(placed).arg(*hours - placed),
                placed, *hours);
        }
    }

    // Kinds in their order; within a kind by position, then by names.
    void sortProblems()
    {
        auto key = [](const LessonRef& l) {
            return std::tuple(wholeNumberOf(l.weekday).value_or(INT_MAX), wholeNumberOf(l.period).value_or(INT_MAX),
                              l.className, l.teacher, l.course, l.lessonId);
        };
        for (Problem& p : report_.problems)
            std::sort(p.lessons.begin(), p.lessons.end(), [&](const LessonRef& a, const LessonRef& b) { return key(a) < key(b); });
        std::stable_sort(report_.problems.begin(), report_.problems.end(), [&](const Problem& a, const Problem& b) {
            if (a.kind != b.kind)
                return static_cast<int>(a.kind) < static_cast<int>(b.kind);
            return key(a.lessons.front()) < key(b.lessons.front());
        });
    }

    const TimetableRows& rows_;
    const Settings& teachers_;
    const Settings& classes_;
    const Settings& courses_;
    std::map<Slot, std::vector<size_t>> teacherSlots_, classSlots_;
    ConflictReport report_;
};

} // namespace

ConflictReport checkTimetable(Connection& conn, const QString& xnId)
{
    const TimetableRows rows = readTimetableRows(conn, xnId);
    const Settings teachers = readSettings(conn, sql::timetableTeacherSettings(xnId));
    const Settings classes = readSettings(conn, sql::timetableClassSettings(xnId));
    const Settings courses = readSettings(conn, sql::timetableCourseSettings(xnId));
    return Checker(rows, teachers, classes, courses).run();
}

ConflictReport checkTimetable(QX_MavoWin& control)
{
    return checkTimetable(control.conn(), openedTimetableId(control));
}

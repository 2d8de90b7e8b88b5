#include "check/conflict_check.h"

#include "state/control_state.h"
#include "store/connection.h"
#include "store/forbidden_periods.h"
#include "store/lock_wait_bound.h"
#include "store/timetable_rows.h"
#include "store/timetable_statements.h"
#include "store/value_text.h"

#include <QHash>
#include <algorithm>
#include <climits>
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

// An owner's entries, or null when it has no settings row.
const std::vector<ForbiddenEntry>* entriesOf(const Settings& settings, const QString& owner)
{
    const auto it = settings.constFind(owner);
    return it == settings.cend() ? nullptr : &*it;
}

bool forbids(const std::vector<ForbiddenEntry>* entries, int weekday, int period)
{
    return entries && std::any_of(entries->begin(), entries->end(),
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
        : rows_(rows)
    {
        // Per plan item once rather than per lesson: its owners as small
        // numbers and their settings.
        QHash<QString, int> teacherNumbers, classNumbers;
        auto numberOf = [](QHash<QString, int>& numbers, const QString& id) {
            if (id.isEmpty())
                return -1;
            auto it = numbers.constFind(id);
            if (it == numbers.cend())
                it = numbers.insert(id, static_cast<int>(numbers.size()));
            return *it;
        };
        for (const PlanItem& plan : rows_.plans) {
            PlanFacts facts;
            facts.teacher = numberOf(teacherNumbers, plan.teacherId);
            facts.klass = numberOf(classNumbers, plan.classId);
            facts.teacherSettings = entriesOf(teachers, plan.teacherId);
            facts.classSettings = entriesOf(classes, plan.classId);
            facts.courseSettings = entriesOf(courses, plan.courseId);
            plans_.push_back(facts);
        }
    }

    ConflictReport run()
    {
        std::vector<int> placed(rows_.plans.size(), 0);
        for (size_t i = 0; i < rows_.lessons.size(); ++i) {
            ++placed[rows_.lessons[i].plan];
            checkPosition(i);
        }
        addDuplicateIds();
        addClashes(ProblemKind::TeacherClash, teacherSlots_, [](const LessonRef& l) { return l.teacher; });
        addClashes(ProblemKind::ClassClash, classSlots_, [](const LessonRef& l) { return l.className; });
        for (size_t p = 0; p < rows_.plans.size(); ++p)
            checkHours(p, placed[p]);
        sortProblems();
        report_.xnId = rows_.xnId;
        return std::move(report_);
    }

private:
    struct PlanFacts {
        int teacher = -1, klass = -1; // -1: the plan item names none
        const std::vector<ForbiddenEntry>* teacherSettings = nullptr;
        const std::vector<ForbiddenEntry>* classSettings = nullptr;
        const std::vector<ForbiddenEntry>* courseSettings = nullptr;
    };
    using Slot = std::tuple<int, int, int, size_t>; // owner, weekday, period, lesson

    void add(ProblemKind kind, std::vector<LessonRef> lessons, QString detail, int placed = 0, int hours = 0)
    {
        report_.problems.push_back({kind, std::move(lessons), std::move(detail), placed, hours});
    }

    void checkPosition(size_t index)
    {
        const Lesson& lesson = rows_.lessons[index];
        const PlanItem& plan = rows_.planOf(lesson);
        const PlanFacts& facts = plans_[lesson.plan];
        const std::optional<int> weekday = wholeNumberOf(lesson.weekday);
        const std::optional<int> period = wholeNumberOf(lesson.period);
        if (!weekday || *weekday < 1 || *weekday > 7) {
            add(ProblemKind::OutsideWeek, {lessonRef(rows_, lesson)},
                QStringLiteral("星期%1不是星期一到星期日").arg(quoted(lesson.weekday)));
        } else if (const int periods = rows_.periodsOf(*weekday); !period || *period < 1 || *period > periods) {
            const QString detail =
                periods > 0 ? QStringLiteral("课节%1不在%2的 %3 节之内")
                                  .arg(quoted(lesson.period), weekdayName(*weekday), QString::number(periods))
                            : QStringLiteral("%1没有课节（课节%2）").arg(weekdayName(*weekday), quoted(lesson.period));
            add(ProblemKind::BeyondDay, {lessonRef(rows_, lesson)}, detail);
        }
        // Two lessons at the same stored position clash wherever it is.
        if (!weekday || !period)
            return;
        if (facts.teacher >= 0)
            teacherSlots_.emplace_back(facts.teacher, *weekday, *period, index);
        if (facts.klass >= 0)
            classSlots_.emplace_back(facts.klass, *weekday, *period, index);

        QStringList owners;
        if (forbids(facts.teacherSettings, *weekday, *period))
            owners << QStringLiteral("[教师]") + plan.teacherName;
        if (forbids(facts.classSettings, *weekday, *period))
            owners << QStringLiteral("[班级]") + plan.className;
        if (forbids(facts.courseSettings, *weekday, *period))
            owners << QStringLiteral("[课程]") + plan.courseName;
        if (!owners.isEmpty())
            add(ProblemKind::ForbiddenPeriod, {lessonRef(rows_, lesson)},
                owners.join(QStringLiteral("、")) + QStringLiteral(" 已在此课节被设定不能排课"));
    }

    // Lessons of one owner at one slot lie side by side once sorted.
    template <typename Name> void addClashes(ProblemKind kind, std::vector<Slot>& slotted, Name name)
    {
        std::sort(slotted.begin(), slotted.end());
        auto sameSlot = [](const Slot& a, const Slot& b) {
            return std::get<0>(a) == std::get<0>(b) && std::get<1>(a) == std::get<1>(b) &&
                   std::get<2>(a) == std::get<2>(b);
        };
        for (auto first = slotted.begin(); first != slotted.end();) {
            auto last = std::find_if_not(first, slotted.end(), [&](const Slot& s) { return sameSlot(*first, s); });
            if (last - first >= 2) {
                std::vector<LessonRef> refs;
                for (auto it = first; it != last; ++it)
                    refs.push_back(lessonRef(rows_, rows_.lessons[std::get<3>(*it)]));
                const QString detail = QStringLiteral("%1 在%2%3有 %4 节课")
                                           .arg(name(refs.front()), weekdayName(std::get<1>(*first)),
                                                periodName(std::get<2>(*first)), QString::number(refs.size()));
                add(kind, std::move(refs), detail);
            }
            first = last;
        }
    }

    // Edits find a lesson by its id: two lessons with one id would be moved
    // or removed together, so the check names them as a problem of their own.
    void addDuplicateIds()
    {
        QHash<QString, std::vector<size_t>> byId;
        for (size_t i = 0; i < rows_.lessons.size(); ++i)
            byId[rows_.lessons[i].id].push_back(i);
        for (auto it = byId.cbegin(); it != byId.cend(); ++it) {
            if (it->size() < 2)
                continue;
            std::vector<LessonRef> refs;
            for (size_t i : *it)
                refs.push_back(lessonRef(rows_, rows_.lessons[i]));
            add(ProblemKind::DuplicateId, std::move(refs),
                QStringLiteral("%1 节课使用同一个编号%2").arg(it->size()).arg(quoted(it.key())));
        }
    }

    std::vector<LessonRef> lessonsOf(size_t planIndex) const
    {
        std::vector<LessonRef> refs;
        for (const Lesson& lesson : rows_.lessons)
            if (lesson.plan == planIndex)
                refs.push_back(lessonRef(rows_, lesson));
        return refs;
    }

    void checkHours(size_t planIndex, int placed)
    {
        const PlanItem& plan = rows_.plans[planIndex];
        // Hours the control cannot read leave the item nothing to place; its
        // lessons are all counted against it.
        const std::optional<int> hours = weeklyHoursOf(plan.weeklyHours);
        if (!hours) {
            std::vector<LessonRef> refs = lessonsOf(planIndex);
            if (refs.empty())
                refs.push_back(planRef(plan));
            add(ProblemKind::BadWeeklyHours, std::move(refs),
                QStringLiteral("每周课时%1不是 0 到 %2 之间的整数，已排 %3 节")
                    .arg(quoted(plan.weeklyHours))
                    .arg(kMaxWeeklyHours)
                    .arg(placed),
                placed);
            return;
        }
        if (placed > *hours) {
            add(ProblemKind::OverPlaced, lessonsOf(planIndex),
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
            std::sort(p.lessons.begin(), p.lessons.end(),
                      [&](const LessonRef& a, const LessonRef& b) { return key(a) < key(b); });
        std::stable_sort(report_.problems.begin(), report_.problems.end(), [&](const Problem& a, const Problem& b) {
            if (a.kind != b.kind)
                return static_cast<int>(a.kind) < static_cast<int>(b.kind);
            return key(a.lessons.front()) < key(b.lessons.front());
        });
    }

    const TimetableRows& rows_;
    std::vector<PlanFacts> plans_;
    std::vector<Slot> teacherSlots_, classSlots_;
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

ConflictReport checkTimetable(ControlState& state)
{
    const LockWaitBound bound = state.session().boundWaits();
    return checkTimetable(state.conn(), state.session().openedTimetableId());
}

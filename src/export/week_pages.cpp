#include "export/week_pages.h"

#include "store/control_error.h"
#include "store/timetable_rows.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <climits>
#include <tuple>

QString PageHeading::timetable() const { return timetableTitle(schoolYear, term, scheduleName); }

QString WeekPage::title() const
{
    return (classSide ? QStringLiteral("班级课表：") : QStringLiteral("教师课表：")) + ownerName;
}

namespace {

struct Owner {
    QString id, name;
};

const QString& ownerIdOf(const PlanItem& plan, bool classSide) { return classSide ? plan.classId : plan.teacherId; }
const QString& ownerNameOf(const PlanItem& plan, bool classSide)
{
    return classSide ? plan.className : plan.teacherName;
}

// The classes or teachers of the timetable's plan items, by name then id.
std::vector<Owner> ownersOf(const TimetableRows& rows, bool classSide)
{
    std::vector<Owner> owners;
    QSet<QString> seen;
    for (const PlanItem& plan : rows.plans) {
        const QString& id = ownerIdOf(plan, classSide);
        if (id.isEmpty() || seen.contains(id))
            continue;
        seen.insert(id);
        owners.push_back({id, ownerNameOf(plan, classSide)});
    }
    std::sort(owners.begin(), owners.end(),
              [](const Owner& a, const Owner& b) { return std::tie(a.name, a.id) < std::tie(b.name, b.id); });
    return owners;
}

std::vector<Owner> chosen(const TimetableRows& rows, bool classSide, bool all, const QStringList& ids)
{
    std::vector<Owner> owners = ownersOf(rows, classSide);
    if (all)
        return owners;
    std::vector<Owner> picked;
    for (const QString& id : ids) {
        const auto it = std::find_if(owners.begin(), owners.end(), [&](const Owner& o) { return o.id == id; });
        if (it == owners.end())
            throw ControlError(QStringLiteral("%1“%2”在此课表中没有教学计划")
                                   .arg(classSide ? QStringLiteral("班级") : QStringLiteral("教师"), id));
        picked.push_back(*it);
    }
    return picked;
}

WeekPage pageOf(const TimetableRows& rows, const Owner& owner, bool classSide,
                const std::vector<const Lesson*>& lessons)
{
    WeekPage page;
    page.classSide = classSide;
    page.ownerId = owner.id;
    page.ownerName = owner.name;
    page.periods = std::max(0, rows.gridPeriods);
    for (auto& column : page.cells)
        column.resize(static_cast<size_t>(page.periods));
    for (const Lesson* l : lessons) {
        const Lesson& lesson = *l;
        const PlanItem& plan = rows.planOf(lesson);
        // The cells the control's grid has, whatever the day's own setting.
        const std::optional<int> weekday = wholeNumberOf(lesson.weekday);
        const std::optional<int> period = wholeNumberOf(lesson.period);
        if (!weekday || !period || *weekday < 1 || *weekday > 7 || *period < 1 || *period > page.periods) {
            ++page.offGrid;
            continue;
        }
        page.cells[static_cast<size_t>(*weekday - 1)][static_cast<size_t>(*period - 1)].push_back(
            {classSide ? plan.teacherName : plan.className, plan.courseShortName});
    }
    for (int d = 1; d <= 7; ++d) {
        const std::optional<int>& setting = rows.dayPeriods[static_cast<size_t>(d - 1)];
        const auto& column = page.cells[static_cast<size_t>(d - 1)];
        const bool holdsLesson =
            std::any_of(column.begin(), column.end(), [](const std::vector<WeekEntry>& slot) { return !slot.empty(); });
        if (setting != 0 || holdsLesson)
            page.weekdays.push_back(d);
    }
    return page;
}

} // namespace

std::vector<WeekPage> weekPages(const TimetableRows& rows, const ExportSelection& selection)
{
    std::vector<WeekPage> pages;
    for (bool classSide : {true, false}) {
        const bool all = classSide ? selection.allClasses : selection.allTeachers;
        const std::vector<Owner> owners =
            chosen(rows, classSide, all, classSide ? selection.classIds : selection.teacherIds);
        if (owners.empty())
            continue;
        QHash<QString, std::vector<const Lesson*>> lessonsOf;
        for (const Lesson& lesson : rows.lessons)
            lessonsOf[ownerIdOf(rows.planOf(lesson), classSide)].push_back(&lesson);
        for (const Owner& owner : owners)
            pages.push_back(pageOf(rows, owner, classSide, lessonsOf.value(owner.id)));
    }
    return pages;
}

std::vector<const Lesson*> selectedLessons(const TimetableRows& rows, const ExportSelection& selection)
{
    QSet<QString> classes, teachers;
    for (const Owner& o : chosen(rows, true, selection.allClasses, selection.classIds))
        classes.insert(o.id);
    for (const Owner& o : chosen(rows, false, selection.allTeachers, selection.teacherIds))
        teachers.insert(o.id);
    const bool everything = selection.allClasses || selection.allTeachers;
    const bool byClass = selection.allClasses || !selection.classIds.isEmpty();

    std::vector<const Lesson*> lessons;
    for (const Lesson& lesson : rows.lessons) {
        const PlanItem& plan = rows.planOf(lesson);
        if (everything || classes.contains(plan.classId) || teachers.contains(plan.teacherId))
            lessons.push_back(&lesson);
    }
    auto key = [&](const Lesson* l) {
        const PlanItem& plan = rows.planOf(*l);
        return std::tuple(ownerNameOf(plan, byClass), ownerIdOf(plan, byClass),
                          wholeNumberOf(l->weekday).value_or(INT_MAX), wholeNumberOf(l->period).value_or(INT_MAX),
                          l->id);
    };
    std::sort(lessons.begin(), lessons.end(), [&](const Lesson* a, const Lesson* b) { return key(a) < key(b); });
    return lessons;
}

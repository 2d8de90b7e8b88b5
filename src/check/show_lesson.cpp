#include "check/show_lesson.h"

#include "check/conflict_report.h"
#include "check/timetable_rows.h"
#include "control/qx_mavowin.h"
#include "control/tag.h"
#include "plan/selectors.h"
#include "store/control_error.h"

namespace {

// The empty last entry of the level or grade selector stands for all of them.
void chooseAll(ComboBox& selector)
{
    if (selector.ListCount() > 0)
        selector.setListIndex(selector.ListCount() - 1);
}

void choose(ComboBox& selector, int entry, Side side, const QString& name)
{
    if (entry < 0)
        throw ControlError(QStringLiteral("%1“%2”不在选择框 %3 中").arg(sideName(side), name, selector.Name));
    selector.setListIndex(entry);
}

// Right-clicks the lesson's cell on one side when the cell shows that lesson.
bool rightClickIfShown(QX_MavoWin& control, Side side, int weekday, int period, const QString& lessonId)
{
    ControlArray<Label>& column = control.surface().grid(side).column(weekday);
    if (period > column.Count() || column[period - 1].Tag.isEmpty() || tag::field(column[period - 1].Tag, 0) != lessonId)
        return false;
    control.cellClick(side, weekday, period - 1);
    return true;
}

} // namespace

bool ShowLesson(QX_MavoWin& control, const LessonRef& lesson)
{
    Surface& s = control.surface();
    ScheduleContext& ctx = control.context();
    if (selectorIndexOfId(ctx.ClassIds, lesson.classId, s.cmbBj) < 0) {
        chooseAll(s.cmbJb);
        chooseAll(s.cmbNj);
    }
    choose(s.cmbBj, selectorIndexOfId(ctx.ClassIds, lesson.classId, s.cmbBj), Side::Class, lesson.className);
    choose(s.cmbJs, selectorIndexOfId(ctx.TeacherIds, lesson.teacherId, s.cmbJs), Side::Teacher, lesson.teacher);

    const std::optional<int> weekday = wholeNumberOf(lesson.weekday);
    const std::optional<int> period = wholeNumberOf(lesson.period);
    if (lesson.lessonId.isEmpty() || !weekday || !period || *weekday < 1 || *weekday > 7 || *period < 1)
        return false;
    return rightClickIfShown(control, Side::Class, *weekday, *period, lesson.lessonId)
        || rightClickIfShown(control, Side::Teacher, *weekday, *period, lesson.lessonId);
}

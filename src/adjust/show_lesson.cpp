#include "adjust/show_lesson.h"

#include "qxmavowin/conflict_report.h"
#include "check/timetable_rows.h"
#include "control/busy_state.h"
#include "control/qx_mavowin.h"
#include "control/tag.h"
#include "plan/selectors.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/statements.h"
#include "store/value_text.h"

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
    if (period > column.Count() || column[period - 1].Tag.isEmpty() ||
        tag::field(column[period - 1].Tag, 0) != lessonId)
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
    return rightClickIfShown(control, Side::Class, *weekday, *period, lesson.lessonId) ||
           rightClickIfShown(control, Side::Teacher, *weekday, *period, lesson.lessonId);
}

bool ShowLesson(QX_MavoWin& control, const QString& lessonId)
{
    bool shown = false;
    runAction(control, Busy::No, [&] {
        Recordset rs = control.conn().check(sql::lessonPlace(joinText(control.context().XnId), lessonId));
        if (rs.atEnd())
            return;
        LessonRef lesson;
        lesson.lessonId = lessonId;
        lesson.classId = joinText(rs.field(0));
        lesson.teacherId = joinText(rs.field(1));
        lesson.weekday = rs.field(2);
        lesson.period = rs.field(3);
        shown = ShowLesson(control, lesson);
    });
    return shown;
}

#include "adjust/show_lesson.h"

#include "plan/selectors.h"
#include "qxmavowin/conflict_report.h"
#include "state/control_state.h"
#include "state/tag.h"
#include "store/adjust_statements.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/timetable_rows.h"
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

// The lesson's cell on one side, when the cell shows that lesson.
std::optional<GridCell> cellShowing(ControlState& state, Side side, int weekday, int period, const QString& lessonId)
{
    ControlArray<Label>& column = state.surface().grid(side).column(weekday);
    if (period > column.Count() || column[period - 1].Tag.isEmpty() ||
        CellTag::idOf(column[period - 1].Tag) != lessonId)
        return std::nullopt;
    return GridCell{side, weekday, period - 1};
}

} // namespace

std::optional<GridCell> ChooseLesson(ControlState& state, const LessonRef& lesson)
{
    Surface& s = state.surface();
    ScheduleContext& ctx = state.context();
    if (selectorIndexOfId(ctx.ClassIds, lesson.classId, s.cmbBj) < 0) {
        chooseAll(s.cmbJb);
        chooseAll(s.cmbNj);
    }
    choose(s.cmbBj, selectorIndexOfId(ctx.ClassIds, lesson.classId, s.cmbBj), Side::Class, lesson.className);
    choose(s.cmbJs, selectorIndexOfId(ctx.TeacherIds, lesson.teacherId, s.cmbJs), Side::Teacher, lesson.teacher);

    const std::optional<int> weekday = wholeNumberOf(lesson.weekday);
    const std::optional<int> period = wholeNumberOf(lesson.period);
    if (lesson.lessonId.isEmpty() || !weekday || !period || *weekday < 1 || *weekday > 7 || *period < 1)
        return std::nullopt;
    if (std::optional<GridCell> cell = cellShowing(state, Side::Class, *weekday, *period, lesson.lessonId))
        return cell;
    return cellShowing(state, Side::Teacher, *weekday, *period, lesson.lessonId);
}

std::optional<LessonRef> ReadLesson(ControlState& state, const QString& lessonId)
{
    Recordset rs = state.conn().check(sql::lessonPlace(joinText(state.session().XnId), lessonId));
    if (rs.atEnd())
        return std::nullopt;
    LessonRef lesson;
    lesson.lessonId = lessonId;
    lesson.classId = joinText(rs.field(0));
    lesson.teacherId = joinText(rs.field(1));
    lesson.weekday = rs.field(2);
    lesson.period = rs.field(3);
    return lesson;
}

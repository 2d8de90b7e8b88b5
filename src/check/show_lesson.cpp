#include "check/show_lesson.h"

#include "check/conflict_report.h"
#include "check/timetable_rows.h"
#include "control/qx_mavowin.h"
#include "control/tag.h"
#include "store/control_error.h"
#include "store/value_text.h"

#include <algorithm>

namespace {

const QString kClassKind = QStringLiteral("班级");
const QString kTeacherKind = QStringLiteral("教师");

int entryOf(const std::vector<QVariant>& ids, const ComboBox& selector, const QString& id)
{
    const size_t count = std::min(ids.size(), static_cast<size_t>(selector.ListCount()));
    for (size_t k = 0; k < count; ++k)
        if (joinText(ids[k]) == id)
            return static_cast<int>(k);
    return -1;
}

// The empty last entry of the level or grade selector stands for all of them.
void chooseAll(ComboBox& selector)
{
    if (selector.ListCount() > 0)
        selector.setListIndex(selector.ListCount() - 1);
}

void choose(ComboBox& selector, int entry, const QString& kind, const QString& name)
{
    if (entry < 0)
        throw ControlError(QStringLiteral("%1“%2”不在选择框 %3 中").arg(kind, name, selector.Name));
    selector.setListIndex(entry);
}

// Right-clicks the lesson's cell in a grid when the cell shows that lesson.
bool rightClickIfShown(QX_MavoWin& control, const QString& kind, int weekday, int period, const QString& lessonId)
{
    ControlArray<Label>& column = control.surface().grid(kind).column(weekday);
    if (period > column.Count() || column[period - 1].Tag.isEmpty() || tag::field(column[period - 1].Tag, 0) != lessonId)
        return false;
    control.cellClick(kind, weekday, period - 1);
    return true;
}

} // namespace

bool ShowLesson(QX_MavoWin& control, const LessonRef& lesson)
{
    Surface& s = control.surface();
    ScheduleContext& ctx = control.context();
    if (entryOf(ctx.ClassIds, s.cmbBj, lesson.classId) < 0) {
        chooseAll(s.cmbJb);
        chooseAll(s.cmbNj);
    }
    choose(s.cmbBj, entryOf(ctx.ClassIds, s.cmbBj, lesson.classId), kClassKind, lesson.className);
    choose(s.cmbJs, entryOf(ctx.TeacherIds, s.cmbJs, lesson.teacherId), kTeacherKind, lesson.teacher);

    const std::optional<int> weekday = wholeNumberOf(lesson.weekday);
    const std::optional<int> period = wholeNumberOf(lesson.period);
    if (lesson.lessonId.isEmpty() || !weekday || !period || *weekday < 1 || *weekday > 7 || *period < 1)
        return false;
    return rightClickIfShown(control, kClassKind, *weekday, *period, lesson.lessonId)
        || rightClickIfShown(control, kTeacherKind, *weekday, *period, lesson.lessonId);
}

#include "adjust/show_lesson.h"

#include "adjust/move_analysis.h"
#include "control/busy_state.h"
#include "control/qx_mavowin.h"
#include "control/selected_ids.h"
#include "control/tag.h"
#include "plan/selectors.h"
#include "store/connection.h"
#include "store/statements.h"
#include "store/value_text.h"

bool ShowLesson(QX_MavoWin& control, const QString& lessonId)
{
    bool shown = false;
    runAction(control, Busy::No, [&] {
        Recordset rs = control.conn().check(sql::lessonPlace(joinText(control.context().XnId), lessonId));
        if (rs.atEnd())
            return;
        const QString classId = joinText(rs.field(0));
        const int weekday = rs.field(1).toInt();
        const int index = rs.field(2).toInt() - 1;
        GridSurface& grid = control.surface().grid(Side::Class);
        if (weekday < 1 || weekday > 7 || index < 0 || index >= grid.column(weekday).Count())
            return; // a slot the week does not show

        Label lesson;
        lesson.Tag = tag::join(lessonId, classId, QString(), QString());
        FollowLessonInSelector(control, lesson, control.surface().cmbBj, Side::Class);
        if (currentSelectorId(control, Side::Class) != classId)
            return;
        if (tag::split(grid.column(weekday)[index].Tag).front() != lessonId)
            return;
        CellClick(control, Side::Class, weekday, index);
        shown = true;
    });
    return shown;
}

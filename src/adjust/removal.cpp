#include "adjust/removal.h"

#include "adjust/remove_lesson.h"

#include "control/selected_ids.h"
#include "control/busy_state.h"
#include "control/colors.h"
#include "control/qx_mavowin.h"
#include "control/tag.h"
#include "grid/fill_grid.h"
#include "grid/paint_grid.h"
#include "plan/plan_list.h"
#include "store/statements.h"

#include <memory>

namespace {

const QString kClassKind = QStringLiteral("班级");
const QString kTeacherKind = QStringLiteral("教师");

// The first analysed-lesson cell, Monday to Sunday, top to bottom.
Label* findAnalysedLesson(GridSurface& grid)
{
    for (int weekday = 1; weekday <= 7; ++weekday) {
        ControlArray<Label>& column = grid.column(weekday);
        for (int i = 0; i < column.Count(); ++i)
            if (column[i].BackColor == color::AnalysedLesson)
                return &column[i];
    }
    return nullptr;
}

// A list whose selector has no current entry has no owner to refill it
// for; it keeps what it shows.
void refillPlanList(QX_MavoWin& control, const QString& kind)
{
    const std::optional<QString> id = currentSelectorId(control, kind);
    if (!id)
        return;
    const bool classSide = Surface::isClassKind(kind);
    FillPlanList(control, classSide ? sql::classPlanCondition(*id) : sql::teacherPlanCondition(*id),
                 control.surface().planList(kind));
}

} // namespace

void RemoveAnalysedLesson(QX_MavoWin& control, const QString& kind)
{
    const bool classSide = Surface::isClassKind(kind);
    const QString scannedKind = classSide ? kClassKind : kTeacherKind;
    const QString otherKind = classSide ? kTeacherKind : kClassKind;

    Label* cell = findAnalysedLesson(control.surface().grid(scannedKind));
    if (!cell)
        return;

    runAction(control, Busy::No, [&] {
        control.perform(std::make_unique<RemoveLesson>(tag::field(cell->Tag, 0),
                                                       Slot{Surface::weekdayOf(*cell), Surface::periodOf(*cell)}));
        ClearGrid(control, otherKind);
        refillPlanList(control, kTeacherKind);
        refillPlanList(control, kClassKind);
        cell->Tag.clear();
        cell->Caption.clear();
        PaintGridPlain(control, scannedKind);
    });
}

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

#include <memory>

namespace {

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
void refillPlanList(QX_MavoWin& control, Side side)
{
    if (const std::optional<QString> id = currentSelectorId(control, side))
        FillPlanListOf(control, side, *id);
}

} // namespace

void RemoveAnalysedLesson(QX_MavoWin& control, Side side)
{
    Label* cell = findAnalysedLesson(control.surface().grid(side));
    if (!cell)
        return;

    runAction(control, Busy::No, [&] {
        control.perform(std::make_unique<RemoveLesson>(tag::field(cell->Tag, 0), tag::field(cell->Tag, 1),
                                                       tag::field(cell->Tag, 2),
                                                       Slot{Surface::weekdayOf(*cell), Surface::periodOf(*cell)}));
        ClearGrid(control, otherSide(side));
        refillPlanList(control, Side::Teacher);
        refillPlanList(control, Side::Class);
        cell->Tag.clear();
        cell->Caption.clear();
        PaintGridPlain(control, side);
    });
}

#include "adjust/removal.h"

#include "adjust/lesson_row_edit.h"
#include "adjust/shown_after_change.h"
#include "state/busy_state.h"
#include "state/colors.h"
#include "state/control_state.h"
#include "state/tag.h"

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

} // namespace

void RemoveAnalysedLesson(ControlState& state, Side side)
{
    Label* cell = findAnalysedLesson(state.surface().grid(side));
    if (!cell)
        return;

    runAction(state, Busy::No, [&] {
        const CellTag lesson = CellTag::of(cell->Tag);
        state.perform(std::make_unique<RemoveLesson>(lesson.id, lesson.classId, lesson.teacherId,
                                                     Slot{Surface::weekdayOf(*cell), Surface::periodOf(*cell)}));
        ShowRemovedLesson(state, *cell, side);
    });
}

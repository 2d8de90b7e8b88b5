#include "adjust/week_refresh.h"

#include "control/colors.h"
#include "control/qx_mavowin.h"
#include "control/selected_ids.h"
#include "control/tag.h"
#include "plan/selectors.h"

namespace {

// Shows one side afresh when its selector has a current entry that passes
// the filter; returns whether it did.
template <typename Wanted> bool refreshSide(QX_MavoWin& control, Side side, Wanted&& wanted)
{
    const std::optional<QString> id = currentSelectorId(control, side);
    if (!id || !wanted(*id))
        return false;
    SideChosen(control, side);
    return true;
}

void markLessons(QX_MavoWin& control, Side side, const EditCommand::Touched& touched)
{
    GridSurface& grid = control.surface().grid(side);
    for (const Slot& slot : touched.places) {
        if (slot.weekday < 1 || slot.weekday > 7 || slot.period < 1 || slot.period > grid.periodRows())
            continue;
        Label& cell = grid.column(slot.weekday)[slot.period - 1];
        if (!cell.Tag.isEmpty() && touched.lessonIds.contains(tag::split(cell.Tag).front()))
            cell.BackColor = color::Changed;
    }
}

} // namespace

void ShowCurrentWeeks(QX_MavoWin& control)
{
    refreshSide(control, Side::Class, [](const QString&) { return true; });
    refreshSide(control, Side::Teacher, [](const QString&) { return true; });
}

void ShowEditedWeeks(QX_MavoWin& control, const EditCommand::Touched& touched)
{
    if (refreshSide(control, Side::Class, [&](const QString& id) { return touched.classIds.contains(id); }))
        markLessons(control, Side::Class, touched);
    if (refreshSide(control, Side::Teacher, [&](const QString& id) { return touched.teacherIds.contains(id); }))
        markLessons(control, Side::Teacher, touched);
}

#include "adjust/week_refresh.h"

#include "control/colors.h"
#include "control/qx_mavowin.h"
#include "control/selected_ids.h"
#include "control/tag.h"
#include "plan/selectors.h"

namespace {

const QString kClassKind = QStringLiteral("班级");
const QString kTeacherKind = QStringLiteral("教师");

// Shows one side afresh when its selector has a current entry that passes
// the filter; returns whether it did.
template <typename Wanted>
bool refreshSide(QX_MavoWin& control, const QString& kind, Wanted&& wanted)
{
    const std::optional<QString> id = currentSelectorId(control, kind);
    if (!id || !wanted(*id))
        return false;
    if (Surface::isClassKind(kind))
        ClassChosen(control);
    else
        TeacherChosen(control);
    return true;
}

void markLessons(QX_MavoWin& control, const QString& kind, const EditCommand::Touched& touched)
{
    GridSurface& grid = control.surface().grid(kind);
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
    refreshSide(control, kClassKind, [](const QString&) { return true; });
    refreshSide(control, kTeacherKind, [](const QString&) { return true; });
}

void ShowEditedWeeks(QX_MavoWin& control, const EditCommand::Touched& touched)
{
    if (refreshSide(control, kClassKind, [&](const QString& id) { return touched.classIds.contains(id); }))
        markLessons(control, kClassKind, touched);
    if (refreshSide(control, kTeacherKind, [&](const QString& id) { return touched.teacherIds.contains(id); }))
        markLessons(control, kTeacherKind, touched);
}

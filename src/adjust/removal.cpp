#include "adjust/removal.h"

#include "control/selected_ids.h"
#include "control/busy_state.h"
#include "control/colors.h"
#include "control/qx_mavowin.h"
#include "control/tag.h"
#include "grid/fill_grid.h"
#include "grid/paint_grid.h"
#include "plan/plan_list.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/statements.h"

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

    try {
        {
            // One statement, but in a unit of its own so that a row another
            // desk holds cannot keep it waiting without end.
            Connection& conn = control.conn();
            WriteUnit unit(conn);
            conn.execute(sql::deleteLesson(tag::field(cell->Tag, 0)));
            unit.commit();
        }
        ClearGrid(control, otherKind);
        refillPlanList(control, kTeacherKind);
        refillPlanList(control, kClassKind);
        cell->Tag.clear();
        cell->Caption.clear();
        PaintGrid(control, scannedKind, QString::number(color::White), QStringLiteral("0"), QStringLiteral("0"));
    } catch (const std::exception& e) {
        // The same warning as the other user actions; whatever an inner
        // operation did to the host window is undone, so it never stays
        // disabled.
        control.messages().show(describe(e), kMessageStyleInformation, kWarningTitle);
        setBusy(control, false);
    }
}

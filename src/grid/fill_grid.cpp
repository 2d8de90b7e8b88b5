#include "grid/fill_grid.h"

#include "state/busy_state.h"
#include "state/control_state.h"
#include "state/controls.h"
#include "state/selected_ids.h"
#include "state/surface.h"
#include "state/tag.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/grid_statements.h"
#include "store/recordset.h"
#include "store/value_text.h"

#include <algorithm>
#include <cmath>

namespace {

// A weekday of the timetable, or 0 for any value that names none.
int weekdayOf(const QVariant& value)
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const double day = value.toDouble(&ok);
    if (!ok || day != std::trunc(day) || day < 1 || day > 7)
        return 0;
    return static_cast<int>(day);
}

// The element index of a period; a period that is no number is an error of
// the row, like a period the grid has no row for.
int rowIndexOf(const QVariant& period)
{
    bool ok = false;
    const double value = period.toDouble(&ok);
    if (!ok)
        throw ControlError(QStringLiteral("类型不匹配：课节“%1”不是数字").arg(joinText(period)));
    return static_cast<int>(std::nearbyint(value)) - 1;
}

} // namespace

void FillGrid(ControlState& state, Side side)
{
    runBusy(state, [&] {
        Surface& surface = state.surface();
        const bool classSide = side == Side::Class;

        const QString id = requireCurrentSelectorId(state, side);
        const QString filter = classSide ? sql::classFilter(id) : sql::teacherFilter(id);
        Recordset rs = state.conn().open(sql::gridFill(joinText(state.session().XnId), filter), CursorType::Static,
                                         LockType::ReadOnly);

        ClearGrid(state, side);

        GridSurface& grid = surface.grid(side);
        const CheckBox& showFirstLine = classSide ? surface.chkJs : surface.chkBj;
        const CheckBox& showCourse = classSide ? surface.chkKcBj : surface.chkKcJs;
        const QString firstLineColumn = classSide ? QStringLiteral("姓名") : QStringLiteral("班级");

        QStringList unfit; // lessons whose ids cannot stand in a cell's tag
        for (; !rs.atEnd(); rs.MoveNext()) {
            const QStringList ids{
                joinText(rs.field(QStringLiteral("kcb_id"))), joinText(rs.field(QStringLiteral("bj_id"))),
                joinText(rs.field(QStringLiteral("js_id"))), joinText(rs.field(QStringLiteral("kc_id")))};
            if (!std::all_of(ids.begin(), ids.end(), CellTag::fits)) {
                unfit << QStringLiteral("课表编号“%1”（星期 %2，课节 %3）")
                             .arg(CellTag::visible(ids[0]), joinText(rs.field(QStringLiteral("星期"))),
                                  joinText(rs.field(QStringLiteral("课节"))));
                continue;
            }
            QString caption;
            if (showFirstLine.Value == 1)
                caption = joinText(rs.field(firstLineColumn)) + QStringLiteral("\r\n");
            if (showCourse.Value == 1)
                caption += joinText(rs.field(QStringLiteral("课程简称")));

            const QString cellTag = CellTag{ids[0], ids[1], ids[2], ids[3]}.text();

            const int weekday = weekdayOf(rs.field(QStringLiteral("星期")));
            if (weekday == 0)
                continue;
            Label& cell = grid.column(weekday)[rowIndexOf(rs.field(QStringLiteral("课节")))];
            cell.Caption = caption;
            cell.Tag = cellTag;
        }
        state.noteShown(side);
        if (!unfit.isEmpty())
            throw ControlError(QStringLiteral("这些课的编号含有制表符或空字符，不能显示和调整，请先改正编号：%1")
                                   .arg(unfit.join(QStringLiteral("、"))));
    });
}

void ClearGrid(ControlState& state, Side side)
{
    GridSurface& grid = state.surface().grid(side);
    for (int d = 1; d <= 7; ++d) {
        ControlArray<Label>& column = grid.column(d);
        for (int i = 0; i < column.Count(); ++i) {
            column[i].Caption.clear();
            column[i].Tag.clear();
        }
    }
}

#include "plan/selectors.h"

#include "grid/fill_grid.h"
#include "state/control_state.h"
#include "state/controls.h"
#include "state/surface.h"
#include "state/tag.h"
#include "store/connection.h"
#include "store/plan_statements.h"
#include "store/value_text.h"

#include <QVariant>
#include <algorithm>
#include <vector>

int selectorIndexOfId(const std::vector<QVariant>& ids, const QString& id, const ComboBox& selector)
{
    const size_t count = std::min(ids.size(), static_cast<size_t>(selector.ListCount()));
    for (size_t k = 0; k < count; ++k)
        if (joinText(ids[k]) == id)
            return static_cast<int>(k);
    return -1;
}

namespace {

// Element k grows the array as the rows arrive, keeping the earlier ones.
void setElement(std::vector<QVariant>& values, size_t k, const QVariant& value)
{
    if (values.size() <= k)
        values.resize(k + 1);
    values[k] = value;
}

} // namespace

void FillSelector(ControlState& state, const QString& columns, const QString& table, const QString& condition,
                  ComboBox& selector, const QString& orderColumn)
{
    Recordset rs = state.conn().open(sql::selectorFill(columns, table, condition, orderColumn), CursorType::Static,
                                     LockType::ReadOnly);
    selector.Clear();

    ScheduleContext& ctx = state.context();
    const QString mode = selector.Name.toUpper();
    if (mode == QStringLiteral("CMBBJ")) {
        ctx.ClassIds.assign(1, QVariant());
        for (size_t k = 0; !rs.atEnd(); ++k, rs.MoveNext()) {
            selector.AddItem(joinText(rs.field(1)));
            setElement(ctx.ClassIds, k, rs.field(0));
        }
    } else if (mode == QStringLiteral("CMBJS")) {
        ctx.TeacherIds.assign(1, QVariant());
        ctx.TeacherCodes.assign(1, QVariant());
        for (size_t k = 0; !rs.atEnd(); ++k, rs.MoveNext()) {
            selector.AddItem(joinText(rs.field(2)));
            setElement(ctx.TeacherIds, k, rs.field(0));
            setElement(ctx.TeacherCodes, k, rs.field(1));
        }
    } else {
        for (; !rs.atEnd(); rs.MoveNext())
            selector.AddItem(joinText(rs.field(0)));
        // The trailing empty entry stands for "no restriction".
        selector.AddItem(QString());
    }
}

void FollowLessonInSelector(ControlState& state, Label& cell, ComboBox& selector, Side side)
{
    if (cell.Tag.isEmpty())
        return;
    ScheduleContext& ctx = state.context();

    if (side == Side::Teacher) {
        const int k = selectorIndexOfId(ctx.TeacherIds, CellTag::of(cell.Tag).teacherId, selector);
        if (k < 0)
            return;
        selector.setListIndex(k);
        FillGrid(state, side);
        return;
    }

    const QString classId = CellTag::of(cell.Tag).classId;
    int k = selectorIndexOfId(ctx.ClassIds, classId, selector);
    if (k < 0) {
        // The class selector may be narrowed to another level or grade: widen
        // it once. A class missing even then (deleted meanwhile, or a lesson
        // of a plan item without a class row) is not followed, rather than
        // searched for without end.
        FillSelector(state, QStringLiteral("id,班级"), QStringLiteral("info_bj"), QStringLiteral(" 1=1 "),
                     state.surface().cmbBj, QStringLiteral("班级"));
        k = selectorIndexOfId(ctx.ClassIds, classId, selector);
        if (k < 0)
            return;
    }
    selector.setListIndex(k);
    FillGrid(state, side);
}

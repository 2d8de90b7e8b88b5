#include "plan/plan_list.h"

#include "state/control_state.h"
#include "state/controls.h"
#include "state/surface.h"
#include "state/tag.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/plan_statements.h"
#include "store/recordset.h"
#include "store/value_text.h"

#include <algorithm>

void AddPlanColumns(ListView& list)
{
    // The key of each column is the plan-view column it shows.
    list.AddColumn(QStringLiteral("课程名"), QStringLiteral("课程名"));
    list.AddColumn(QStringLiteral("班级"), QStringLiteral("班级"));
    list.AddColumn(QStringLiteral("姓名"), QStringLiteral("教师姓名"));
    list.AddColumn(QStringLiteral("剩余课时"), QStringLiteral("剩余课时"));
    list.AddColumn(QStringLiteral("教研组"), QStringLiteral("教研组"));
    list.AddColumn(QStringLiteral("级别"), QStringLiteral("级别"));
    list.AddColumn(QStringLiteral("年级"), QStringLiteral("年级"));
    list.AddColumn(QStringLiteral("每周课时"), QStringLiteral("每周课时"));
}

void FillPlanList(ControlState& state, const QString& condition, ListView& list)
{
    Recordset rs = state.conn().open(sql::planListFill(state.context().PlanViewSql, condition), CursorType::Static,
                                     LockType::ReadOnly, CursorLocation::Client);
    list.ClearItems();
    const int columnCount = static_cast<int>(list.ColumnHeaders.size());
    QStringList unfit; // plan items whose ids cannot stand in an entry's tag
    for (; !rs.atEnd(); rs.MoveNext()) {
        const QStringList ids{joinText(rs.field(QStringLiteral("id"))), joinText(rs.field(QStringLiteral("bj_id"))),
                              joinText(rs.field(QStringLiteral("js_id"))), joinText(rs.field(QStringLiteral("kc_id")))};
        if (!std::all_of(ids.begin(), ids.end(), CellTag::fits)) {
            unfit << QStringLiteral("教学计划“%1”").arg(CellTag::visible(ids[0]));
            continue;
        }
        ListItem& item = list.AddItem(joinText(rs.field(QStringLiteral("课程名"))));
        item.Tag = CellTag{ids[0], ids[1], ids[2], ids[3]}.text();
        item.ToolTipText = PlanItemHelpText(rs);
        for (int i = 1; i < columnCount; ++i)
            item.setSubItem(i, joinText(rs.field(list.ColumnHeaders[static_cast<size_t>(i)].Key)));
        // Weekly hours the control cannot read leave nothing to place, as the
        // write-time check and the conflict check count them.
        if (!weeklyHoursOf(rs.field(QStringLiteral("每周课时"))))
            item.setSubItem(3, QStringLiteral("0"));
    }
    if (!unfit.isEmpty())
        throw ControlError(QStringLiteral("这些教学计划的编号含有制表符或空字符，不能显示和安排，请先改正编号：%1")
                               .arg(unfit.join(QStringLiteral("、"))));
}

void FillPlanListOf(ControlState& state, Side side, const QString& ownerId)
{
    FillPlanList(state, side == Side::Class ? sql::classPlanCondition(ownerId) : sql::teacherPlanCondition(ownerId),
                 state.surface().planList(side));
}

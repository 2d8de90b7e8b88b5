#include "plan/plan_list.h"

#include "adjust/move_analysis.h"
#include "control/controls.h"
#include "control/qx_mavowin.h"
#include "control/surface.h"
#include "control/tag.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/recordset.h"
#include "store/statements.h"
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

void FillPlanList(QX_MavoWin& control, const QString& condition, ListView& list)
{
    Recordset rs = control.conn().open(sql::planListFill(control.context().PlanViewSql, condition), CursorType::Static,
                                       LockType::ReadOnly, CursorLocation::Client);
    list.ClearItems();
    const int columnCount = static_cast<int>(list.ColumnHeaders.size());
    QStringList unfit; // plan items whose ids cannot stand in an entry's tag
    for (; !rs.atEnd(); rs.MoveNext()) {
        const QStringList ids{joinText(rs.field(QStringLiteral("id"))), joinText(rs.field(QStringLiteral("bj_id"))),
                              joinText(rs.field(QStringLiteral("js_id"))), joinText(rs.field(QStringLiteral("kc_id")))};
        if (!std::all_of(ids.begin(), ids.end(), tag::fits)) {
            unfit << QStringLiteral("教学计划“%1”").arg(tag::visible(ids[0]));
            continue;
        }
        ListItem& item = list.AddItem(joinText(rs.field(QStringLiteral("课程名"))));
        item.Tag = tag::join(ids[0], ids[1], ids[2], ids[3]);
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

void FillPlanListOf(QX_MavoWin& control, Side side, const QString& ownerId)
{
    FillPlanList(control, side == Side::Class ? sql::classPlanCondition(ownerId) : sql::teacherPlanCondition(ownerId),
                 control.surface().planList(side));
}

void ShowPlanItemHelp(QX_MavoWin& control, ListView& list, int clickedRow)
{
    if (clickedRow < 0 || clickedRow >= static_cast<int>(list.ListItems.size()))
        throw ControlError(QStringLiteral("无效的列表项：%1(%2)").arg(list.Name).arg(clickedRow));
    // A click selects the entry it lands on.
    list.SelectedIndex = clickedRow;
    const ListItem& item = list.ListItems[static_cast<size_t>(clickedRow)];

    // An entry with no hours left has nothing to place. Text without a
    // leading number (never written by the fill) counts as no hours left.
    if (leadingNumber(item.SubItem(3)) == 0)
        return;

    Surface& s = control.surface();
    const bool classList = &list == &s.lstBj;
    // The help covers the other list, leaving the clicked one free.
    if (classList) {
        s.txtHelp.Left = s.FrajxjhBj.Width;
        s.txtHelp.Width = s.FrajxjhBj.Width;
        s.txtHelp.Top = s.FrajxjhBj.Top + 300;
    } else {
        s.txtHelp.Left = s.FrajxjhBj.Left;
        s.txtHelp.Width = s.Frajxjhjs.Width;
        s.txtHelp.Top = s.Frajxjhjs.Top + 300;
    }
    s.txtHelp.Text = item.ToolTipText;
    s.txtHelp.Visible = true;

    AnalysePlanItem(control, classList ? Side::Class : Side::Teacher);
}

void AnalysePlanItem(QX_MavoWin& control, Side side)
{
    ListItem* item = control.surface().planList(side).SelectedItem();
    if (!item)
        return;
    // A drag that now starts from the list is not a drag of a grid cell, nor
    // of one an earlier drag let go outside the grids (which would have the
    // item's drop judged as a move from it and refused).
    control.context().CaptureDragSource = false;
    control.context().DragSourceCell = nullptr;

    const QString itemTag = item->Tag;
    AnalyseMove(control, tag::field(itemTag, 1), tag::field(itemTag, 2), QStringLiteral(" 1=1 "), side, nullptr);
}

void HelpClicked(QX_MavoWin& control) { control.surface().txtHelp.Visible = false; }

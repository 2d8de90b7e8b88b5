#include "adjust/plan_item_click.h"

#include "adjust/move_analysis.h"
#include "state/control_state.h"
#include "state/tag.h"
#include "store/control_error.h"
#include "store/value_text.h"

void ShowPlanItemHelp(ControlState& state, ListView& list, int clickedRow)
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

    Surface& s = state.surface();
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

    AnalysePlanItem(state, classList ? Side::Class : Side::Teacher);
}

void AnalysePlanItem(ControlState& state, Side side)
{
    ListItem* item = state.surface().planList(side).SelectedItem();
    if (!item)
        return;
    // A drag that now starts from the list is not a drag of a grid cell, nor
    // of one an earlier drag let go outside the grids (which would have the
    // item's drop judged as a move from it and refused).
    state.context().CaptureDragSource = false;
    state.context().DragSourceCell = nullptr;

    const CellTag plan = CellTag::of(item->Tag);
    AnalyseMove(state, plan.classId, plan.teacherId, QStringLiteral(" 1=1 "), side, nullptr);
}

void HelpClicked(ControlState& state) { state.surface().txtHelp.Visible = false; }

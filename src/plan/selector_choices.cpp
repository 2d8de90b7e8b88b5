// What choosing an entry of a selector, or pressing Enter in the short-code
// box, does.
#include "grid/fill_grid.h"
#include "grid/paint_grid.h"
#include "plan/plan_list.h"
#include "plan/selectors.h"
#include "state/control_state.h"
#include "state/controls.h"
#include "state/selected_ids.h"
#include "state/surface.h"
#include "store/control_error.h"
#include "store/plan_statements.h"
#include "store/value_text.h"

#include <algorithm>

void LevelChosen(ControlState& state)
{
    Surface& s = state.surface();
    FillSelector(state, QStringLiteral("年级"), QStringLiteral("info_bj"), sql::levelCondition(s.cmbJb.Text()), s.cmbNj,
                 QStringLiteral("年级"));
}

void GradeChosen(ControlState& state)
{
    Surface& s = state.surface();
    FillSelector(state, QStringLiteral("id,班级"), QStringLiteral("info_bj"),
                 sql::levelCondition(s.cmbJb.Text()) + sql::gradeCondition(s.cmbNj.Text()), s.cmbBj,
                 QStringLiteral("班级"));
}

void SideChosen(ControlState& state, Side side)
{
    PaintGridPlain(state, side);
    // Emptied first: when the database fails the choice, the selector names
    // the new class or teacher over an empty grid and plan list, never over
    // the lessons of the one before, which a drag could then move.
    ClearGrid(state, side);
    state.surface().planList(side).ClearItems();
    FillGrid(state, side);
    FillPlanListOf(state, side, requireCurrentSelectorId(state, side));
}

void ShortCodeKeyPress(ControlState& state, int& keyAscii)
{
    if (keyAscii != 13)
        return;
    Surface& s = state.surface();
    ScheduleContext& ctx = state.context();
    const std::vector<QVariant>& codes = ctx.TeacherCodes;
    const QString typed = s.txtJm.Text.toUpper();
    // Only codes that have an entry: with no teacher at all the one empty
    // placeholder code has nothing to select.
    const size_t count = std::min(codes.size(), static_cast<size_t>(s.cmbJs.ListCount()));
    std::vector<int> sharing;
    for (size_t k = 0; k < count; ++k)
        if (joinText(codes[k]).toUpper() == typed)
            sharing.push_back(static_cast<int>(k));
    const bool again = ctx.ShortCodeEntered.toUpper() == typed;
    ctx.ShortCodeEntered = s.txtJm.Text;
    if (sharing.empty())
        return;
    // The first Enter takes the first teacher with the code; each further
    // Enter the next one in the selector's order, round again after the last.
    int next = sharing.front();
    const auto current = std::find(sharing.begin(), sharing.end(), s.cmbJs.ListIndex());
    if (again && current != sharing.end())
        next = std::next(current) == sharing.end() ? sharing.front() : *std::next(current);
    if (sharing.size() > 1) {
        QStringList names;
        for (int k : sharing)
            names << s.cmbJs.entries()[static_cast<size_t>(k)];
        s.statusText = QStringLiteral("简码 %1 有 %2 位教师：%3；再按回车选下一位")
                           .arg(s.txtJm.Text.value())
                           .arg(sharing.size())
                           .arg(names.join(QStringLiteral("、")));
    }
    s.cmbJs.setListIndex(next);
}

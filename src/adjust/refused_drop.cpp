#include "adjust/refused_drop.h"

#include "adjust/chain_offer.h"
#include "state/colors.h"
#include "state/control_state.h"
#include "state/tag.h"
#include "store/day_periods.h"
#include "store/slot.h"
#include "store/value_text.h"

namespace {

// Whether the grid shows an analysis: some cell available, warned or the
// analysed lesson. White cells of such a grid are blocked.
bool showsAnalysis(GridSurface& grid)
{
    for (auto& column : grid.columns)
        for (int i = 0; i < column.Count(); ++i) {
            const std::int32_t back = column[i].BackColor;
            if (back == color::Available || back == color::Warned || back == color::AnalysedLesson)
                return true;
        }
    return false;
}

} // namespace

void RefuseDrop(ControlState& state, ChainOffer& offer, Label* source, Label& target, Side side)
{
    Surface& s = state.surface();
    const Slot to{Surface::weekdayOf(target), Surface::periodOf(target)};
    const bool fromList = source == nullptr;
    if (!fromList && source->BackColor != color::AnalysedLesson) {
        s.statusText = QStringLiteral("没有分析的课：请先右键单击要调整的课，再把它拖到浅蓝色的格子");
        return;
    }
    if (fromList && (!s.planList(side).SelectedItem() || !showsAnalysis(s.grid(side)))) {
        s.statusText = QStringLiteral("没有分析的课：请先单击教学计划中的一项，再把它拖到浅蓝色的格子");
        return;
    }
    GridSurface& analysed = fromList ? s.grid(side) : s.gridOf(*source);
    if (&analysed != &s.grid(side) || target.BackColor != color::White) {
        s.statusText = QStringLiteral("%1 不在分析的范围内：只能调到%2课表中浅蓝色或粉红色的格子")
                           .arg(slotText(to), sideName(analysed.side));
        return;
    }
    const int periods =
        state.session().dayPeriods().of(joinText(state.session().XnId), analysed.periodRows(), to.weekday);
    if (to.period > periods) {
        s.statusText = QStringLiteral("%1 不能调入：%2").arg(slotText(to), dayWithoutPeriodText(to.weekday, periods));
        return;
    }
    ChainRequest request;
    request.to = to;
    request.side = side;
    if (fromList)
        request.planId = CellTag::idOf(s.planList(side).SelectedItem()->Tag);
    else
        request.lessonId = CellTag::idOf(source->Tag);
    OfferChains(state, offer, request);
}

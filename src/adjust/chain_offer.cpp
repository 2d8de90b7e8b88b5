#include "adjust/chain_offer.h"

#include "adjust/chain_edit.h"
#include "adjust/shown_after_change.h"
#include "state/busy_state.h"
#include "state/control_state.h"
#include "state/selected_ids.h"
#include "store/connection.h"
#include "store/day_periods.h"
#include "store/edit_names.h"
#include "store/session_statements.h"
#include "store/value_text.h"

#include <array>
#include <memory>

namespace {

// The chain with the names its status text and edit text need.
std::vector<ChainEdit::Move> editMoves(ControlState& state, const Chain& chain)
{
    QStringList planIds;
    for (const ChainMove& m : chain.moves)
        if (!planIds.contains(m.planId))
            planIds << m.planId;
    const QHash<QString, LessonNames> names = readLessonNames(state.conn(), planIds);
    std::vector<ChainEdit::Move> out;
    for (const ChainMove& m : chain.moves)
        out.push_back({m.lessonId, m.planId, m.from, m.to, m.classId, m.teacherId, names.value(m.planId)});
    return out;
}

// Each move's cells on the grids that show its class or teacher.
std::vector<ChainMark> marksOf(ControlState& state, const Chain& chain)
{
    std::vector<ChainMark> marks;
    for (const Side side : {Side::Class, Side::Teacher}) {
        const std::optional<QString> shown = currentSelectorId(state, side);
        const int rows = state.surface().grid(side).periodRows();
        int number = 0;
        for (const ChainMove& m : chain.moves) {
            ++number;
            if (!shown || *shown != (side == Side::Class ? m.classId : m.teacherId))
                continue;
            if (m.from && m.from->period <= rows)
                marks.push_back({side, m.from->weekday, m.from->period - 1, number, false});
            if (m.to.period <= rows)
                marks.push_back({side, m.to.weekday, m.to.period - 1, number, true});
        }
    }
    return marks;
}

// The timetable for a search: the one kept, while it is still the database's.
const ChainSchool& timetableFor(ControlState& state, ChainOffer& offer)
{
    Connection& conn = state.conn();
    const QString xnId = joinText(state.session().XnId);
    QString version;
    if (conn.engine() == Engine::SQLite)
        version = joinText(conn.check(sql::dataVersion()).field(0));
    else if (conn.engine() == Engine::PostgreSQL)
        version = joinText(conn.check(sql::timetableRowsVersionPostgres()).field(0));
    if (!version.isEmpty() && offer.kept && offer.kept->xnId == xnId && offer.kept->edits == state.editsWritten() &&
        offer.kept->version == version)
        return offer.kept->school;
    const int rows = state.surface().classGrid.periodRows();
    std::array<int, 7> days{};
    for (int d = 1; d <= 7; ++d)
        days[static_cast<size_t>(d - 1)] = state.session().dayPeriods().of(xnId, rows, d);
    offer.kept = ChainOffer::Kept{xnId, state.editsWritten(), version, ChainSchool::read(conn, xnId, rows, days)};
    return offer.kept->school;
}

} // namespace

std::vector<Chain> FindChains(ControlState& state, ChainOffer& offer, const ChainRequest& request)
{
    const ChainSchool& school = timetableFor(state, offer);
    offer.request = request;
    offer.chains = findChains(school, request);
    offer.previewing = false;
    return offer.chains;
}

void OfferChains(ControlState& state, ChainOffer& offer, const ChainRequest& request)
{
    Surface& s = state.surface();
    const std::vector<Chain> chains = FindChains(state, offer, request);
    if (chains.empty()) {
        s.statusText = QStringLiteral("%1 不能调入。4 节以内没有可行的调课方案").arg(slotText(request.to));
        return;
    }
    const Chain& best = chains.front();
    s.statusText = QStringLiteral("连环调课 %1 节：%2。按 Enter 或 执行 调整，Esc 取消")
                       .arg(best.moves.size())
                       .arg(chainMovesText(editMoves(state, best)));
    s.chainPreview.setMarks(marksOf(state, best));
    s.cmdChain.Visible = true;
    offer.previewing = true;
}

bool ApplyChain(ControlState& state, ChainOffer& offer, const Chain& chain)
{
    EndChainPreview(state, offer);
    return runBusy(state, [&] {
        std::vector<ChainEdit::Move> moves = editMoves(state, chain);
        for (ChainEdit::Move& m : moves)
            if (!m.from)
                m.lessonId = state.newLessonId();
        auto edit = std::make_unique<ChainEdit>(std::move(moves));
        const EditCommand::Touched touched = edit->touched();
        const QString text = edit->text();
        state.perform(std::move(edit));
        ShowEditedWeeks(state, touched);
        state.context().armDragCapture();
        state.surface().statusText = QStringLiteral("已完成") + text;
    });
}

bool ApplyOfferedChain(ControlState& state, ChainOffer& offer)
{
    if (!offer.previewing || offer.chains.empty())
        return false;
    const Chain best = offer.chains.front();
    return ApplyChain(state, offer, best);
}

QStringList ChainMoveTexts(ControlState& state, const Chain& chain)
{
    QStringList out;
    for (const ChainEdit::Move& m : editMoves(state, chain))
        out << chainMovesText({m});
    return out;
}

void EndChainPreview(ControlState& state, ChainOffer& offer)
{
    Surface& s = state.surface();
    s.chainPreview.setMarks({});
    s.cmdChain.Visible = false;
    offer.previewing = false;
}

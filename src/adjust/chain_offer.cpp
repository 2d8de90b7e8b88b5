#include "adjust/chain_offer.h"

#include "adjust/chain_edit.h"
#include "adjust/day_periods.h"
#include "adjust/edit_names.h"
#include "adjust/week_refresh.h"
#include "control/busy_state.h"
#include "control/qx_mavowin.h"
#include "control/selected_ids.h"
#include "store/connection.h"
#include "store/statements.h"
#include "store/value_text.h"

#include <array>
#include <memory>

namespace {

// The chain with the names its status text and edit text need.
std::vector<ChainEdit::Move> editMoves(QX_MavoWin& control, const Chain& chain)
{
    QStringList planIds;
    for (const ChainMove& m : chain.moves)
        if (!planIds.contains(m.planId))
            planIds << m.planId;
    const QHash<QString, LessonNames> names = readLessonNames(control.conn(), planIds);
    std::vector<ChainEdit::Move> out;
    for (const ChainMove& m : chain.moves)
        out.push_back({m.lessonId, m.planId, m.from, m.to, m.classId, m.teacherId, names.value(m.planId)});
    return out;
}

// Each move's cells on the grids that show its class or teacher.
std::vector<ChainMark> marksOf(QX_MavoWin& control, const Chain& chain)
{
    std::vector<ChainMark> marks;
    for (const Side side : {Side::Class, Side::Teacher}) {
        const std::optional<QString> shown = currentSelectorId(control, side);
        const int rows = control.surface().grid(side).periodRows();
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
const ChainSchool& timetableFor(QX_MavoWin& control)
{
    ChainOffer& offer = control.chainOffer();
    Connection& conn = control.conn();
    const QString xnId = joinText(control.context().XnId);
    QString version;
    if (conn.engine() == Engine::SQLite)
        version = joinText(conn.check(sql::dataVersion()).field(0));
    else if (conn.engine() == Engine::PostgreSQL)
        version = joinText(conn.check(sql::timetableRowsVersionPostgres()).field(0));
    if (!version.isEmpty() && offer.kept && offer.kept->xnId == xnId && offer.kept->edits == control.editsWritten() &&
        offer.kept->version == version)
        return offer.kept->school;
    const int rows = control.surface().classGrid.periodRows();
    std::array<int, 7> days{};
    for (int d = 1; d <= 7; ++d)
        days[static_cast<size_t>(d - 1)] = control.dayPeriods().of(xnId, rows, d);
    offer.kept = ChainOffer::Kept{xnId, control.editsWritten(), version, ChainSchool::read(conn, xnId, rows, days)};
    return offer.kept->school;
}

} // namespace

std::vector<Chain> FindChains(QX_MavoWin& control, const ChainRequest& request)
{
    const ChainSchool& school = timetableFor(control);
    ChainOffer& offer = control.chainOffer();
    offer.request = request;
    offer.chains = findChains(school, request);
    offer.previewing = false;
    return offer.chains;
}

void OfferChains(QX_MavoWin& control, const ChainRequest& request)
{
    Surface& s = control.surface();
    const std::vector<Chain> chains = FindChains(control, request);
    if (chains.empty()) {
        s.statusText = QStringLiteral("%1 不能调入。4 节以内没有可行的调课方案").arg(slotText(request.to));
        return;
    }
    const Chain& best = chains.front();
    s.statusText = QStringLiteral("连环调课 %1 节：%2。按 Enter 或 执行 调整，Esc 取消")
                       .arg(best.moves.size())
                       .arg(chainMovesText(editMoves(control, best)));
    s.chainPreview.setMarks(marksOf(control, best));
    s.cmdChain.Visible = true;
    control.chainOffer().previewing = true;
}

bool ApplyChain(QX_MavoWin& control, const Chain& chain)
{
    EndChainPreview(control);
    return runBusy(control, [&] {
        std::vector<ChainEdit::Move> moves = editMoves(control, chain);
        for (ChainEdit::Move& m : moves)
            if (!m.from)
                m.lessonId = control.CreateGUIDEx();
        auto edit = std::make_unique<ChainEdit>(std::move(moves));
        const EditCommand::Touched touched = edit->touched();
        const QString text = edit->text();
        control.perform(std::move(edit));
        ShowEditedWeeks(control, touched);
        ScheduleContext& ctx = control.context();
        ctx.CaptureDragSource = true;
        ctx.DragSourceCell = nullptr;
        control.surface().statusText = QStringLiteral("已完成") + text;
    });
}

bool ApplyOfferedChain(QX_MavoWin& control)
{
    ChainOffer& offer = control.chainOffer();
    if (!offer.previewing || offer.chains.empty())
        return false;
    const Chain best = offer.chains.front();
    return ApplyChain(control, best);
}

QStringList ChainMoveTexts(QX_MavoWin& control, const Chain& chain)
{
    QStringList out;
    for (const ChainEdit::Move& m : editMoves(control, chain))
        out << chainMovesText({m});
    return out;
}

void EndChainPreview(QX_MavoWin& control)
{
    Surface& s = control.surface();
    s.chainPreview.setMarks({});
    s.cmdChain.Visible = false;
    control.chainOffer().previewing = false;
}

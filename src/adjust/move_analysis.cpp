#include "adjust/move_analysis.h"

#include "grid/paint_grid.h"
#include "plan/selectors.h"
#include "state/busy_state.h"
#include "state/colors.h"
#include "state/control_state.h"
#include "state/tag.h"
#include "store/analysis_statements.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/day_periods.h"
#include "store/edit_names.h"
#include "store/forbidden_periods.h"
#include "store/slot.h"
#include "store/value_text.h"

#include <cmath>
#include <map>
#include <optional>

namespace {

QString decimal(std::int32_t color) { return QString::number(color); }

// The three owners whose settings can forbid a period, in the order their
// marks are laid down.
enum class Owner { Teacher, Class, Course };

QString messageOf(Owner owner)
{
    switch (owner) {
    case Owner::Teacher: return QStringLiteral("[教师]已在此课节被设定不能排课");
    case Owner::Class: return QStringLiteral("[该班级]已在此课节被设定不能排课");
    case Owner::Course: return QStringLiteral("[该课程]已在此课节被设定不能排课");
    }
    return QString();
}

// One forbidden-period pass over the analysed grid. Only the first settings
// row counts; a missing row or a null value forbids nothing.
void markForbiddenPeriods(ControlState& state, GridSurface& grid, Owner owner, const QString& statement)
{
    Recordset rs = state.conn().open(statement, CursorType::Static, LockType::ReadOnly);
    if (rs.atEnd())
        return;
    const QString message = messageOf(owner);
    for (const ForbiddenEntry& entry : parseForbiddenPeriods(joinText(rs.field(QStringLiteral("不排课节"))))) {
        ControlArray<Label>& column = grid.column(entry.weekday);
        for (int i = 0; i < column.Count(); ++i) {
            Label& cell = column[i];
            // The teacher's marks replace whatever an earlier entry left in the column.
            if (owner == Owner::Teacher)
                cell.ToolTipText.clear();
            if (!entry.hasPeriods)
                throw ControlError(QStringLiteral("下标越界：不排课节中星期 %1 的条目没有课节部分").arg(entry.weekday));
            if (!entry.names(i + 1))
                continue;
            cell.BackColor = color::Warned;
            if (owner == Owner::Teacher)
                cell.ToolTipText = message;
            else if (!cell.ToolTipText.contains(message))
                cell.ToolTipText += QStringLiteral(" / ") + message;
        }
    }
}

// A whole number read from a database value; false when it is none.
bool wholeNumber(const QVariant& value, int& out)
{
    const QString text = joinText(value);
    if (text.trimmed().isEmpty())
        return false;
    const double d = leadingNumber(text);
    if (!(d >= -1e9 && d <= 1e9) || d != std::trunc(d))
        return false;
    out = static_cast<int>(d);
    return true;
}

// Why a clashing lesson blocks its cell, in the words the user acts on:
// the analysed lesson's teacher is busy there ("A张 此时在 2班 上 数学"), or,
// for a lesson of the class with another teacher, that teacher is busy where
// the analysed lesson stands, so the two cannot trade places.
struct ClashRow {
    Slot slot;
    QString planId, classId, teacherId;
};

QString clashReason(const ClashRow& row, const LessonNames& names, const QString& jsId, const Label* cell)
{
    if (row.teacherId == jsId || row.teacherId.isEmpty())
        return QStringLiteral("%1 此时在 %2 上 %3").arg(names.teacher, names.className, names.course);
    QString reason = QStringLiteral("%1 此时上 %2（%3）").arg(names.className, names.course, names.teacher);
    if (cell)
        reason += QStringLiteral("，%1 在%2另有课，不能换过去")
                      .arg(names.teacher, slotText({Surface::weekdayOf(*cell), Surface::periodOf(*cell)}));
    return reason;
}

// A clashing lesson blocks its cell, whose tooltip names each clash before
// any forbidden-period reason it had. A row outside the week is left alone;
// a period outside the grid is a failure of the analysis.
void markClashes(ControlState& state, GridSurface& grid, Recordset& clashes, const QString& jsId, const Label* cell)
{
    std::vector<ClashRow> rows;
    QStringList planIds;
    for (; !clashes.atEnd(); clashes.MoveNext()) {
        int weekday = 0;
        if (!wholeNumber(clashes.field(QStringLiteral("星期")), weekday) || weekday < 1 || weekday > 7)
            continue;
        const QVariant periodValue = clashes.field(QStringLiteral("课节"));
        int period = 0;
        if (!wholeNumber(periodValue, period))
            throw ControlError(QStringLiteral("下标越界：课节“%1”不在课表中").arg(joinText(periodValue)));
        grid.column(weekday)[period - 1].BackColor = color::White;
        rows.push_back({Slot{weekday, period}, joinText(clashes.field(QStringLiteral("jxjh_id"))),
                        joinText(clashes.field(QStringLiteral("bj_id"))),
                        joinText(clashes.field(QStringLiteral("js_id")))});
        if (!planIds.contains(rows.back().planId))
            planIds << rows.back().planId;
    }
    if (rows.empty())
        return;
    const QHash<QString, LessonNames> names = state.session().planNames().lookup(state.conn(), planIds);
    std::map<Slot, QStringList> reasons;
    const std::optional<Slot> clicked =
        cell ? std::optional<Slot>(Slot{Surface::weekdayOf(*cell), Surface::periodOf(*cell)}) : std::nullopt;
    for (const ClashRow& row : rows) {
        if (row.slot == clicked)
            continue; // the analysed lesson's own cell, marked as such
        const QString reason = clashReason(row, names.value(row.planId), jsId, cell);
        QStringList& said = reasons[row.slot];
        if (!said.contains(reason))
            said << reason;
    }
    for (const auto& [slot, said] : reasons) {
        Label& blocked = grid.column(slot.weekday)[slot.period - 1];
        const QString forbidden = blocked.ToolTipText;
        const QString separator =
            forbidden.isEmpty() || forbidden.startsWith(QStringLiteral(" / ")) ? QString() : QStringLiteral(" / ");
        blocked.ToolTipText = said.join(QStringLiteral("；")) + separator + forbidden;
    }
}

// Cells past their day's periods take no lesson: blocked, saying why.
void markDaysWithoutPeriods(ControlState& state, GridSurface& grid, const QString& xnId)
{
    for (int d = 1; d <= 7; ++d) {
        ControlArray<Label>& column = grid.column(d);
        const int periods = state.session().dayPeriods().of(xnId, column.Count(), d);
        for (int i = std::max(periods, 0); i < column.Count(); ++i) {
            column[i].BackColor = color::White;
            column[i].ToolTipText = dayWithoutPeriodText(d, periods);
        }
    }
}

} // namespace

void CellClick(ControlState& state, Side side, int weekday, int index)
{
    Label& cell = state.cell(side, weekday, index);
    if (cell.Tag.isEmpty())
        return;
    const CellTag lesson = CellTag::of(cell.Tag);
    AnalyseMove(state, lesson.classId, lesson.teacherId, sql::positionCondition(weekday, index + 1), side, &cell);
    // A class lesson brings its teacher into the teacher side, and the reverse.
    const Side other = otherSide(side);
    FollowLessonInSelector(state, cell, state.surface().selector(other), other);
    state.context().CaptureDragSource = true;
}

void AnalyseMove(ControlState& state, const QString& bjId, const QString& jsId, const QString& condition, Side side,
                 Label* cell)
{
    runBusy(state, [&] {
        Surface& s = state.surface();
        const bool classSide = side == Side::Class;
        GridSurface& grid = s.grid(side);
        const QString xnId = joinText(state.session().XnId);

        QString lessonTag;
        if (cell) {
            lessonTag = cell->Tag;
        } else {
            ListItem* item = s.planList(side).SelectedItem();
            if (!item)
                throw ProgramError(QStringLiteral("对象变量未设置：%1 没有选中的项").arg(s.planList(side).Name));
            lessonTag = item->Tag;
        }
        const QString kcId = CellTag::of(lessonTag).courseId;

        Recordset clashes =
            state.conn().open(sql::clashSet(xnId, bjId, jsId, condition), CursorType::Static, LockType::ReadOnly);

        PaintGrid(state, side, decimal(color::Available), classSide ? jsId : bjId, decimal(color::Related));

        markForbiddenPeriods(state, grid, Owner::Teacher, sql::teacherSettings(jsId, xnId));
        markForbiddenPeriods(state, grid, Owner::Class, sql::classSettings(bjId, xnId));
        markForbiddenPeriods(state, grid, Owner::Course, sql::courseSettings(kcId, xnId));

        PaintGrid(state, otherSide(side), decimal(color::White), classSide ? bjId : jsId, decimal(color::OtherRelated));

        markClashes(state, grid, clashes, jsId, cell);
        markDaysWithoutPeriods(state, grid, xnId);

        if (cell)
            cell->BackColor = color::AnalysedLesson;
    });
}

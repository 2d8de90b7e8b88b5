#include "adjust/shown_after_change.h"

#include "adjust/move_analysis.h"
#include "adjust/plan_item_click.h"
#include "grid/fill_grid.h"
#include "grid/paint_grid.h"
#include "plan/plan_list.h"
#include "plan/selectors.h"
#include "state/colors.h"
#include "state/control_state.h"
#include "state/selected_ids.h"
#include "state/tag.h"
#include "store/analysis_statements.h"
#include "store/value_text.h"

#include <array>
#include <utility>
#include <vector>

namespace {

constexpr std::array<Side, 2> kSides{Side::Class, Side::Teacher};

// Shows one side afresh when its selector has a current entry that passes
// the filter; returns whether it did.
template <typename Wanted> bool refreshSide(ControlState& state, Side side, Wanted&& wanted)
{
    const std::optional<QString> id = currentSelectorId(state, side);
    if (!id || !wanted(*id))
        return false;
    SideChosen(state, side);
    return true;
}

void markLessons(ControlState& state, Side side, const EditCommand::Touched& touched)
{
    GridSurface& grid = state.surface().grid(side);
    for (const Slot& slot : touched.places) {
        if (slot.weekday < 1 || slot.weekday > 7 || slot.period < 1 || slot.period > grid.periodRows())
            continue;
        Label& cell = grid.column(slot.weekday)[slot.period - 1];
        if (!cell.Tag.isEmpty() && touched.lessonIds.contains(CellTag::idOf(cell.Tag)))
            cell.BackColor = color::Changed;
    }
}

// A list whose selector has no current entry has no owner to refill it
// for; it keeps what it shows.
void refillPlanList(ControlState& state, Side side)
{
    if (const std::optional<QString> id = currentSelectorId(state, side))
        FillPlanListOf(state, side, *id);
}

// Shows the other side of a dropped lesson: its teacher after a drop on
// ClassGrid, its class after a drop on TeacherGrid.
void followIntoOtherGrid(ControlState& state, Label& target, Side side)
{
    const Side other = otherSide(side);
    FollowLessonInSelector(state, target, state.surface().selector(other), other);
}

// An analysis on screen: of the lesson in a cell, or of the plan item
// selected in the list of its side (lessonId empty), or of nothing that is
// still known (both empty).
struct ShownAnalysis {
    Side side = Side::Class;
    QString lessonId;
    int weekday = 0;
    int index = -1;
    QString planId;
};

// An analysis leaves its lesson green, and every cell of its grid available,
// warned or blocked.
std::optional<ShownAnalysis> shownAnalysis(ControlState& state)
{
    for (Side side : kSides) {
        GridSurface& grid = state.surface().grid(side);
        bool marked = false;
        for (int d = 1; d <= 7; ++d) {
            for (int i = 0; i < grid.column(d).Count(); ++i) {
                const Label& cell = grid.column(d)[i];
                if (cell.BackColor == color::AnalysedLesson && !cell.Tag.isEmpty())
                    return ShownAnalysis{side, CellTag::idOf(cell.Tag), d, i, {}};
                marked = marked || cell.BackColor == color::Available || cell.BackColor == color::Warned;
            }
        }
        if (marked) {
            const ListItem* item = state.surface().planList(side).SelectedItem();
            return ShownAnalysis{side, {}, 0, -1, item ? CellTag::idOf(item->Tag) : QString()};
        }
    }
    return std::nullopt;
}

// Runs the analysis again on the weeks as they are now; false when what it
// was run on is gone.
bool analyseAgain(ControlState& state, const ShownAnalysis& shown)
{
    Surface& s = state.surface();
    if (!shown.lessonId.isEmpty()) {
        Label& cell = s.grid(shown.side).column(shown.weekday)[shown.index];
        if (cell.Tag.isEmpty() || CellTag::idOf(cell.Tag) != shown.lessonId)
            return false;
        const CellTag lesson = CellTag::of(cell.Tag);
        AnalyseMove(state, lesson.classId, lesson.teacherId, sql::positionCondition(shown.weekday, shown.index + 1),
                    shown.side, &cell);
        state.context().armDragCapture();
        return true;
    }
    if (shown.planId.isEmpty())
        return false;
    ListView& list = s.planList(shown.side);
    for (size_t row = 0; row < list.ListItems.size(); ++row) {
        const ListItem& item = list.ListItems[row];
        if (CellTag::idOf(item.Tag) == shown.planId && leadingNumber(item.SubItem(3)) > 0) {
            list.SelectedIndex = static_cast<int>(row);
            state.context().DragSourceCell = nullptr;
            AnalysePlanItem(state, shown.side);
            return true;
        }
    }
    return false;
}

std::vector<QString> lessonsShown(GridSurface& grid)
{
    std::vector<QString> out;
    for (int d = 1; d <= 7; ++d)
        for (int i = 0; i < grid.column(d).Count(); ++i)
            out.push_back(grid.column(d)[i].Tag);
    return out;
}

void markChangedCells(GridSurface& grid, const std::vector<QString>& before)
{
    size_t k = 0;
    for (int d = 1; d <= 7; ++d) {
        for (int i = 0; i < grid.column(d).Count(); ++i, ++k) {
            Label& cell = grid.column(d)[i];
            if (!cell.Tag.isEmpty() && (k >= before.size() || before[k] != cell.Tag))
                cell.BackColor = color::Changed;
        }
    }
}

} // namespace

void ShowPlacedLesson(ControlState& state, Label& target, Side side, const QString& caption)
{
    PaintGridPlain(state, side);
    target.BackColor = color::Changed;
    target.Caption = caption;

    followIntoOtherGrid(state, target, side);
    const Side other = otherSide(side);
    FillPlanListOf(state, other, requireCurrentSelectorId(state, other));
    state.context().armDragCapture();
}

void ShowMovedLesson(ControlState& state, Label& source, Label& target, Side side)
{
    std::swap(source.Caption, target.Caption);
    std::swap(source.Tag, target.Tag);

    PaintGridPlain(state, side);
    source.BackColor = color::Changed;
    target.BackColor = color::Changed;

    followIntoOtherGrid(state, target, side);
    state.context().armDragCapture();
}

void ShowRemovedLesson(ControlState& state, Label& cell, Side side)
{
    ClearGrid(state, otherSide(side));
    refillPlanList(state, Side::Teacher);
    refillPlanList(state, Side::Class);
    cell.Tag.clear();
    cell.Caption.clear();
    PaintGridPlain(state, side);
}

void ShowCurrentWeeks(ControlState& state)
{
    refreshSide(state, Side::Class, [](const QString&) { return true; });
    refreshSide(state, Side::Teacher, [](const QString&) { return true; });
}

void ShowEditedWeeks(ControlState& state, const EditCommand::Touched& touched)
{
    if (refreshSide(state, Side::Class, [&](const QString& id) { return touched.classIds.contains(id); }))
        markLessons(state, Side::Class, touched);
    if (refreshSide(state, Side::Teacher, [&](const QString& id) { return touched.teacherIds.contains(id); }))
        markLessons(state, Side::Teacher, touched);
}

ShownAfresh ShowChangedWeeks(ControlState& state, const TimetableChange& change)
{
    std::array<std::optional<QString>, 2> owners;
    for (Side side : kSides) {
        const std::optional<QString> id = currentSelectorId(state, side);
        if (id && change.touches(side, *id))
            owners[static_cast<size_t>(side)] = id;
    }
    const ShownAfresh shown{owners[0].has_value(), owners[1].has_value()};
    if (!shown.classSide && !shown.teacherSide)
        return shown;

    const std::optional<ShownAnalysis> analysis = shownAnalysis(state);
    std::array<std::vector<QString>, 2> before;
    for (Side side : kSides) {
        const std::optional<QString>& id = owners[static_cast<size_t>(side)];
        if (!id)
            continue;
        before[static_cast<size_t>(side)] = lessonsShown(state.surface().grid(side));
        FillGrid(state, side);
        // The list shows hours left; what only moved lessons cannot change them.
        if (change.hoursChanged)
            FillPlanListOf(state, side, *id);
    }
    if (analysis && analyseAgain(state, *analysis))
        return shown;

    for (Side side : kSides) {
        const bool refreshed = owners[static_cast<size_t>(side)].has_value();
        if (refreshed || analysis)
            PaintGridPlain(state, side);
        if (refreshed)
            markChangedCells(state.surface().grid(side), before[static_cast<size_t>(side)]);
    }
    state.context().armDragCapture();
    return shown;
}

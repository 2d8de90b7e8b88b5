#include "adjust/live_refresh.h"

#include "adjust/move_analysis.h"
#include "control/colors.h"
#include "control/qx_mavowin.h"
#include "control/selected_ids.h"
#include "control/tag.h"
#include "grid/fill_grid.h"
#include "grid/paint_grid.h"
#include "plan/plan_list.h"
#include "store/statements.h"
#include "store/value_text.h"

#include <array>
#include <vector>

namespace {

constexpr std::array<Side, 2> kSides{Side::Class, Side::Teacher};

// The lesson of a cell's tag, the plan item of an entry's.
QString firstField(const QString& text) { return tag::split(text).front(); }

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
std::optional<ShownAnalysis> shownAnalysis(QX_MavoWin& control)
{
    for (Side side : kSides) {
        GridSurface& grid = control.surface().grid(side);
        bool marked = false;
        for (int d = 1; d <= 7; ++d) {
            for (int i = 0; i < grid.column(d).Count(); ++i) {
                const Label& cell = grid.column(d)[i];
                if (cell.BackColor == color::AnalysedLesson && !cell.Tag.isEmpty())
                    return ShownAnalysis{side, firstField(cell.Tag), d, i, {}};
                marked = marked || cell.BackColor == color::Available || cell.BackColor == color::Warned;
            }
        }
        if (marked) {
            const ListItem* item = control.surface().planList(side).SelectedItem();
            return ShownAnalysis{side, {}, 0, -1, item ? firstField(item->Tag) : QString()};
        }
    }
    return std::nullopt;
}

// Runs the analysis again on the weeks as they are now; false when what it
// was run on is gone.
bool analyseAgain(QX_MavoWin& control, const ShownAnalysis& shown)
{
    Surface& s = control.surface();
    if (!shown.lessonId.isEmpty()) {
        Label& cell = s.grid(shown.side).column(shown.weekday)[shown.index];
        if (cell.Tag.isEmpty() || firstField(cell.Tag) != shown.lessonId)
            return false;
        AnalyseMove(control, tag::field(cell.Tag, 1), tag::field(cell.Tag, 2),
                    sql::positionCondition(shown.weekday, shown.index + 1), shown.side, &cell);
        control.context().CaptureDragSource = true;
        control.context().DragSourceCell = nullptr;
        return true;
    }
    if (shown.planId.isEmpty())
        return false;
    ListView& list = s.planList(shown.side);
    for (size_t row = 0; row < list.ListItems.size(); ++row) {
        const ListItem& item = list.ListItems[row];
        if (firstField(item.Tag) == shown.planId && leadingNumber(item.SubItem(3)) > 0) {
            list.SelectedIndex = static_cast<int>(row);
            control.context().DragSourceCell = nullptr;
            AnalysePlanItem(control, shown.side);
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

ShownAfresh ShowChangedWeeks(QX_MavoWin& control, const TimetableChange& change)
{
    std::array<std::optional<QString>, 2> owners;
    for (Side side : kSides) {
        const std::optional<QString> id = currentSelectorId(control, side);
        if (id && change.touches(side, *id))
            owners[static_cast<size_t>(side)] = id;
    }
    const ShownAfresh shown{owners[0].has_value(), owners[1].has_value()};
    if (!shown.classSide && !shown.teacherSide)
        return shown;

    const std::optional<ShownAnalysis> analysis = shownAnalysis(control);
    std::array<std::vector<QString>, 2> before;
    for (Side side : kSides) {
        const std::optional<QString>& id = owners[static_cast<size_t>(side)];
        if (!id)
            continue;
        before[static_cast<size_t>(side)] = lessonsShown(control.surface().grid(side));
        FillGrid(control, side);
        // The list shows hours left; what only moved lessons cannot change them.
        if (change.hoursChanged)
            FillPlanListOf(control, side, *id);
    }
    if (analysis && analyseAgain(control, *analysis))
        return shown;

    for (Side side : kSides) {
        const bool refreshed = owners[static_cast<size_t>(side)].has_value();
        if (refreshed || analysis)
            PaintGridPlain(control, side);
        if (refreshed)
            markChangedCells(control.surface().grid(side), before[static_cast<size_t>(side)]);
    }
    control.context().CaptureDragSource = true;
    control.context().DragSourceCell = nullptr;
    return shown;
}

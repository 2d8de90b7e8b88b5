#include "ui/cell_state.h"

#include "state/colors.h"
#include "state/surface.h"
#include "ui/display_text.h"

namespace qxui {

bool showsAnalysis(const GridSurface& grid)
{
    for (const auto& column : grid.columns)
        for (int i = 0; i < column.Count(); ++i) {
            const std::int32_t back = column[i].BackColor;
            if (back == color::Available || back == color::Warned || back == color::AnalysedLesson)
                return true;
        }
    return false;
}

CellState cellState(const Label& cell, bool gridShowsAnalysis)
{
    switch (cell.BackColor) {
    case color::Available: return CellState::Available;
    case color::Warned: return CellState::Warned;
    case color::AnalysedLesson: return CellState::Analysed;
    case color::Changed: return CellState::Changed;
    case color::White: return gridShowsAnalysis ? CellState::Blocked : CellState::Plain;
    default: return CellState::Plain;
    }
}

QString stateWords(CellState state, const Label& cell)
{
    switch (state) {
    case CellState::Available: return QStringLiteral("可调入");
    case CellState::Warned:
        return cell.ToolTipText.isEmpty() ? QStringLiteral("禁排时段")
                                          : QStringLiteral("禁排时段：") + displayText(cell.ToolTipText);
    case CellState::Blocked:
        // The tooltip says who is busy there, or that the day has no such period.
        return cell.ToolTipText.isEmpty() ? QStringLiteral("不可调入：此时有冲突")
                                          : QStringLiteral("不可调入：") + displayText(cell.ToolTipText);
    case CellState::Analysed: return QStringLiteral("正在分析的课");
    case CellState::Changed: return QStringLiteral("刚调整");
    case CellState::Plain: break;
    }
    return {};
}

} // namespace qxui

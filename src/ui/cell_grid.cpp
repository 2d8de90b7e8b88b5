#include "ui/cell_grid.h"

#include "state/surface.h"
#include "ui/cell_state.h"
#include "ui/cell_widget.h"

#include <QKeyEvent>
#include <algorithm>

namespace qxui {

CellGrid::CellGrid(QWidget* parent, EventSink& sink, const GridSurface& grid)
    : FrameBox(parent, grid.cellFrame), sink_(sink), grid_(grid)
{
    // Reached by Tab; a click on a cell leaves the focus where it is, so
    // that the mouse user's screen gains no focus frame.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(grid.outer.Caption);
}

void CellGrid::addCell(CellWidget* cell) { cells_.at(static_cast<size_t>(cell->weekday() - 1)).push_back(cell); }

CellWidget* CellGrid::cell(int weekday, int index) const
{
    if (weekday < 1 || weekday > 7 || index < 0 || index >= rows(weekday))
        return nullptr;
    return cells_[static_cast<size_t>(weekday - 1)][static_cast<size_t>(index)];
}

int CellGrid::rows(int weekday) const { return static_cast<int>(cells_.at(static_cast<size_t>(weekday - 1)).size()); }

void CellGrid::setFocusCell(int weekday, int index)
{
    weekday = std::clamp(weekday, 1, 7);
    index = std::clamp(index, 0, std::max(0, rows(weekday) - 1));
    if (weekday == focusWeekday_ && index == focusIndex_)
        return;
    if (CellWidget* old = focusCell())
        old->update();
    focusWeekday_ = weekday;
    focusIndex_ = index;
    updateFocusCell();
}

void CellGrid::updateFocusCell()
{
    CellWidget* cell = focusCell();
    if (!cell)
        return;
    cell->update();
    if (hasFocus())
        cell->announce(QAccessible::Focus);
}

void CellGrid::setCarrying(bool carrying)
{
    carrying_ = carrying;
    if (CellWidget* cell = focusCell())
        cell->update();
}

bool CellGrid::readAnalysis()
{
    const bool shown = qxui::showsAnalysis(grid_);
    const bool changed = shown != analysisShown_;
    analysisShown_ = shown;
    return changed;
}

void CellGrid::updateStates()
{
    for (auto& column : cells_)
        for (CellWidget* cell : column)
            cell->updateState();
}

void CellGrid::setMarks(bool on)
{
    marks_ = on;
    for (auto& column : cells_)
        for (CellWidget* cell : column)
            cell->update();
}

void CellGrid::keyPressEvent(QKeyEvent* event)
{
    CellWidget* cell = focusCell();
    const auto key = [&](CellKey k) {
        if (!cell || !sink_.cellKeyPressed(*cell, k))
            event->ignore();
    };
    switch (event->key()) {
    case Qt::Key_Left: setFocusCell(focusWeekday_ - 1, focusIndex_); break;
    case Qt::Key_Right: setFocusCell(focusWeekday_ + 1, focusIndex_); break;
    case Qt::Key_Up: setFocusCell(focusWeekday_, focusIndex_ - 1); break;
    case Qt::Key_Down: setFocusCell(focusWeekday_, focusIndex_ + 1); break;
    case Qt::Key_Space:
    case Qt::Key_Menu: key(CellKey::Analyse); break;
    case Qt::Key_F10:
        if (event->modifiers() & Qt::ShiftModifier)
            key(CellKey::Analyse);
        else
            event->ignore();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter: key(CellKey::Enter); break;
    case Qt::Key_Escape: key(CellKey::Escape); break;
    case Qt::Key_Delete: key(CellKey::Delete); break;
    default: FrameBox::keyPressEvent(event);
    }
}

void CellGrid::focusInEvent(QFocusEvent* event)
{
    FrameBox::focusInEvent(event);
    updateFocusCell();
}

void CellGrid::focusOutEvent(QFocusEvent* event)
{
    FrameBox::focusOutEvent(event);
    if (CellWidget* cell = focusCell())
        cell->update();
}

} // namespace qxui

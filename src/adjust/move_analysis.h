#pragma once

#include "qxmavowin/side.h"

#include <QString>

class ControlState;
struct Label;

// Right-button click on a grid cell: analyses its lesson and follows it into
// the other grid. An empty cell does nothing at all.
void CellClick(ControlState& state, Side side, int weekday, int index);

// Marks every cell of the analysed grid available, warned or blocked for the
// lesson of (bjId, jsId) at the position condition; cell is the clicked cell,
// or null for the selected plan item of the plan list of the same kind.
// Busy state and the one failure path of its own; writes nothing.
void AnalyseMove(ControlState& state, const QString& bjId, const QString& jsId, const QString& condition, Side side,
                 Label* cell);

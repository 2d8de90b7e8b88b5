#pragma once

#include "ui/cell_state.h"

#include <QRect>

class QPainter;

namespace qxui {

// A small mark in the top-left corner of a cell that says its state
// besides its colour, for users who cannot tell the colours apart: a ring
// for available, a triangle for warned, a cross for blocked, a filled
// square for the analysed lesson and a filled diamond for a changed cell.
// Black on a white halo, so that each stands out on any of the colours and
// the shapes differ in grey scale alone. A plain cell has none.
void drawStateMark(QPainter& painter, const QRect& cell, CellState state);

} // namespace qxui

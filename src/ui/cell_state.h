#pragma once

#include "state/controls.h"

#include <QString>

struct GridSurface;

namespace qxui {

// What a cell shows of an analysis, read from the colour the control left
// (state/colors.h) the way a sighted user reads it. White is an ordinary
// cell, and a blocked one only while its grid shows an analysis.
enum class CellState { Plain, Available, Warned, Blocked, Analysed, Changed };

// Whether any cell of the grid shows an analysis (available, warned or the
// analysed lesson).
bool showsAnalysis(const GridSurface& grid);
CellState cellState(const Label& cell, bool gridShowsAnalysis);

// The state in words, for assistive tools: a warned cell names the
// forbidden period's reason (its tooltip); a plain cell has none.
QString stateWords(CellState state, const Label& cell);

} // namespace qxui

#pragma once

#include "qxmavowin/side.h"

class ControlState;

// Shows the lessons of the class chosen in cmbBj or of the teacher chosen in
// cmbJs in that side's grid. Busy state and the
// failure path of its own; changes no colour.
void FillGrid(ControlState& state, Side side);

// Empties caption and tag of every cell of one grid.
void ClearGrid(ControlState& state, Side side);

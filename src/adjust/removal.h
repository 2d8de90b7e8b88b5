#pragma once

#include "qxmavowin/side.h"

class ControlState;

// The delete button under a side's grid (cmdDelBj, cmdDeljs): deletes the lesson of the grid's analysed-lesson cell, clears
// the other grid, refills both plan lists and resets the grid's colours.
// Nothing at all when no cell of the grid is the analysed lesson. A failure
// is shown in a message box titled "警告"; the host window stays usable.
void RemoveAnalysedLesson(ControlState& state, Side side);

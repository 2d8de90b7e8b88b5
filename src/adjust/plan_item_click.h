#pragma once

#include "qxmavowin/side.h"

class ControlState;
struct ListView;

// Item click on lstBj or lstJs: shows txtHelp and runs the move analysis.
void ShowPlanItemHelp(ControlState& state, ListView& list, int clickedRow);

// The move analysis of the selected entry of a side's plan list: where a
// new lesson of it may go in that side's grid. Nothing without a selection.
void AnalysePlanItem(ControlState& state, Side side);

// Click on txtHelp: hides it.
void HelpClicked(ControlState& state);

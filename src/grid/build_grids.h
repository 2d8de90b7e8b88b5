#pragma once

#include <QString>

class ControlState;
struct Label;

// Grows both week grids to one row per period of the timetable: cells,
// period headings and separator lines. Called once, by QxIni.
void BuildGrids(ControlState& state);

// Shows newCell directly below previousCell, 20 twips apart.
void PlaceCellBelow(Label& newCell, const Label& previousCell);

// The Chinese numeral of periods 1 to 14, decimal digits for any other value.
QString PeriodNumeral(int period);

// "星期一" to "星期日" for weekdays 1 to 7, as the grids' header bar names them.
QString WeekdayName(int weekday);

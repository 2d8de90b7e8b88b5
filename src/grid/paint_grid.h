#pragma once

#include "qxmavowin/side.h"

#include <QString>

class ControlState;

// Gives every cell of one grid the back colour, the match text colour to the
// lessons whose compared tag field (2 in ClassGrid, 1 in TeacherGrid) equals
// matchId, black text to all others, and clears every tooltip. Colours come
// as decimal texts.
void PaintGrid(ControlState& state, Side side, const QString& backColorText, const QString& matchId,
               const QString& matchForeColorText);

// The plain reset: white cells, black text, no tooltips. It ends the effect
// of an analysis; every reset of a grid's colours goes through it.
void PaintGridPlain(ControlState& state, Side side);

#pragma once

#include <QString>

class QX_MavoWin;

// Shows the lessons of the class chosen in cmbBj (kind "班级") or of the
// teacher chosen in cmbJs (any other kind) in that grid. Busy state and the
// failure path of its own; changes no colour.
void FillGrid(QX_MavoWin& control, const QString& kind);

// Empties caption and tag of every cell of one grid.
void ClearGrid(QX_MavoWin& control, const QString& kind);

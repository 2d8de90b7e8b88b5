#pragma once

#include <QString>

class QX_MavoWin;

// The delete button under a grid: removes the analysed lesson of that grid.
void RemoveAnalysedLesson(QX_MavoWin& control, const QString& kind);

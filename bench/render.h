#pragma once

#include "stats.h"

#include <QSqlDatabase>
#include <QString>

namespace gen {
struct School;
}

// Repainting the class grid after the analysis of a lesson click, on the
// control's widget drawn offscreen: `name` times the paint of the grid alone
// (into an image), `syncName` the update of the widgets from the surface
// that comes before it. The class at `classIndex` is chosen and its lesson
// at (weekday, index) clicked before every repetition, not timed.
void registerRenderBenchmarks(const QString& name, const QString& syncName, QSqlDatabase db, const gen::School& school,
                              int dataType, int classIndex, int weekday, int index, Stats* paint, Stats* sync);

// Placeholder until this subsystem lands.
#include "grid/paint_grid.h"

#include "control/controls.h"
#include "control/surface.h"
#include "store/control_error.h"
#include "store/recordset.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

void PaintGrid(QX_MavoWin& control, const QString& kind, const QString& backColorText, const QString& matchId, const QString& matchForeColorText)
{ throw ControlError(QStringLiteral("未实现")); }

void PaintGridPlain(QX_MavoWin& control, const QString& kind)
{ throw ControlError(QStringLiteral("未实现")); }

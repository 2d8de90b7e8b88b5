// Placeholder until this subsystem lands.
#include "grid/build_grids.h"

#include "control/controls.h"
#include "control/surface.h"
#include "store/control_error.h"
#include "store/recordset.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

void BuildGrids(QX_MavoWin& control)
{ throw ControlError(QStringLiteral("未实现")); }

void PlaceCellBelow(Label& newCell, const Label& previousCell)
{ throw ControlError(QStringLiteral("未实现")); }

QString PeriodNumeral(int period)
{ throw ControlError(QStringLiteral("未实现")); }

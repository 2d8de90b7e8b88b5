// Placeholder until this subsystem lands.
#include "grid/fill_grid.h"

#include "control/controls.h"
#include "control/surface.h"
#include "store/control_error.h"
#include "store/recordset.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

void FillGrid(QX_MavoWin& control, const QString& kind)
{ throw ControlError(QStringLiteral("未实现")); }

void ClearGrid(QX_MavoWin& control, const QString& kind)
{ throw ControlError(QStringLiteral("未实现")); }

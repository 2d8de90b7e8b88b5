// Placeholder until this subsystem lands.
#include "adjust/move_analysis.h"

#include "control/controls.h"
#include "control/surface.h"
#include "store/control_error.h"
#include "store/recordset.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

void CellClick(QX_MavoWin& control, const QString& kind, int weekday, int index)
{ throw ControlError(QStringLiteral("未实现")); }

void AnalyseMove(QX_MavoWin& control, const QString& bjId, const QString& jsId, const QString& condition, const QString& kind, Label* cell)
{ throw ControlError(QStringLiteral("未实现")); }

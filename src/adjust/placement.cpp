// Placeholder until this subsystem lands.
#include "adjust/placement.h"

#include "control/controls.h"
#include "control/surface.h"
#include "store/control_error.h"
#include "store/recordset.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

void CellDragOver(QX_MavoWin& control, Label& cell)
{ throw ControlError(QStringLiteral("未实现")); }

void DropOnCell(QX_MavoWin& control, Label& target, const QString& kind)
{ throw ControlError(QStringLiteral("未实现")); }

void ExchangeLessons(QX_MavoWin& control, Label& source, Label* target)
{ throw ControlError(QStringLiteral("未实现")); }

// Placeholder until this subsystem lands.
#include "adjust/removal.h"

#include "control/controls.h"
#include "control/surface.h"
#include "store/control_error.h"
#include "store/recordset.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

void RemoveAnalysedLesson(QX_MavoWin& control, const QString& kind)
{ throw ControlError(QStringLiteral("未实现")); }

// Placeholder until this subsystem lands.
#include "adjust/forbidden_periods.h"

#include "control/controls.h"
#include "control/surface.h"
#include "store/control_error.h"
#include "store/recordset.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

bool periodForbidden(const QString& value, int weekday, int period)
{ throw ControlError(QStringLiteral("未实现")); }

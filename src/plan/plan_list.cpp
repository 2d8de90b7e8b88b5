// Placeholder until this subsystem lands.
#include "plan/plan_list.h"

#include "control/controls.h"
#include "control/surface.h"
#include "store/control_error.h"
#include "store/recordset.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

void AddPlanColumns(ListView& list)
{ throw ControlError(QStringLiteral("未实现")); }

void FillPlanList(QX_MavoWin& control, const QString& condition, ListView& list)
{ throw ControlError(QStringLiteral("未实现")); }

QString PlanItemHelpText(const Recordset& row)
{ throw ControlError(QStringLiteral("未实现")); }

QString ForbiddenPeriodText(const QString& value)
{ throw ControlError(QStringLiteral("未实现")); }

void ShowPlanItemHelp(QX_MavoWin& control, ListView& list, int clickedRow)
{ throw ControlError(QStringLiteral("未实现")); }

void HelpClicked(QX_MavoWin& control)
{ throw ControlError(QStringLiteral("未实现")); }

// Placeholder until this subsystem lands.
#include "plan/selectors.h"

#include "control/controls.h"
#include "control/surface.h"
#include "store/control_error.h"
#include "store/recordset.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

void FillSelector(QX_MavoWin& control, const QString& columns, const QString& table, const QString& condition, ComboBox& selector, const QString& orderColumn)
{ throw ControlError(QStringLiteral("未实现")); }

void FollowLessonInSelector(QX_MavoWin& control, Label& cell, ComboBox& selector, const QString& kind)
{ throw ControlError(QStringLiteral("未实现")); }

void LevelChosen(QX_MavoWin& control)
{ throw ControlError(QStringLiteral("未实现")); }

void GradeChosen(QX_MavoWin& control)
{ throw ControlError(QStringLiteral("未实现")); }

void ClassChosen(QX_MavoWin& control)
{ throw ControlError(QStringLiteral("未实现")); }

void TeacherChosen(QX_MavoWin& control)
{ throw ControlError(QStringLiteral("未实现")); }

void ShortCodeKeyPress(QX_MavoWin& control, int& keyAscii)
{ throw ControlError(QStringLiteral("未实现")); }

#pragma once

#include "store/change_log.h"

#include <QJsonArray>
#include <vector>

// The rows of the change history as the driver's `history` shows them:
// seq, at (UTC, ISO 8601), user, desk, step, kind, lesson, plan, other,
// before and after ([weekday, period] or null), course, class, teacher.
QJsonArray historyJson(const std::vector<ChangeEntry>& entries);

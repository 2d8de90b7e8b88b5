#pragma once

#include <QString>

// Whether period k of weekday d is named by a 不排课节 value: entries closed
// by "/", each a weekday, ":" and periods separated by tabs; periods are
// matched as text between tabs.
bool periodForbidden(const QString& value, int weekday, int period);

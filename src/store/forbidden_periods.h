#pragma once

#include <QString>
#include <vector>

// One entry of a 不排课节 value whose weekday is 1 to 7: "3:2\t6" forbids
// Wednesday periods 2 and 6. Periods are matched as text between tabs, so
// "03" names no period at all.
struct ForbiddenEntry {
    int weekday = 0;         // 1 (Monday) to 7 (Sunday)
    bool hasPeriods = false; // false when the entry has no ":" (a malformed setting)
    QString periods;         // the period part, tab-separated

    // Whether period k (1 up) is among the entry's periods.
    bool names(int period) const;
};

// The entries of a 不排课节 value, in order, that name a weekday 1 to 7.
// Entries are closed by "/"; empty ones and those with another weekday are
// left out. Never fails: any text gives some (possibly empty) list, in time
// linear in its length.
std::vector<ForbiddenEntry> parseForbiddenPeriods(const QString& value);

// Whether period k of weekday d is forbidden by the value.
bool periodForbidden(const QString& value, int weekday, int period);

#pragma once

#include <QString>
#include <optional>

class Connection;

// A timetable of sz_xn.
struct TimetableName {
    QString id, schoolYear, term, name;
};

// What the command line asked for: any of 学年, 学期, 排课名称 (empty: any).
struct TimetableWanted {
    QString schoolYear, term, name;
};

// The timetable kbtz-check and kbtz-export work on: the only one matching
// what was asked; with nothing asked and several in the database, the test
// host's (2005-2006, 2, 课表). Empty, with the reason in *error, when no
// timetable or more than one fits. Throws DbError when sz_xn cannot be read.
std::optional<TimetableName> chooseTimetable(Connection& conn, const TimetableWanted& wanted, QString* error);

#pragma once

#include <QString>

class QSqlError;

// What a user reads when the database fails a statement: what happened, in
// Chinese, first; the engine's own text after it in brackets, for whoever
// runs the server or keeps the file.
QString dbErrorText(const QSqlError& error);

// The first words of a lock wait that ran out: another program holds the
// timetable (a lock on its rows or tables, or the SQLite file's write lock).
inline const char* const kTimetableBusy = "课表正被其他程序占用，请稍后再试";

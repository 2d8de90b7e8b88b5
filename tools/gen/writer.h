#pragma once

#include "gen/school.h"

#include <QSqlDatabase>
#include <QString>

// Writing a school into a timetable database. Every function returns an
// empty text on success and the database's description of the first
// failure otherwise.
namespace gen {

// Runs a script of statements separated by ";". A ";" inside a single-quoted
// literal (a function body) or a "--" comment does not end a statement.
QString runScript(QSqlDatabase db, const QString& script);

// The schema files of data/, built into the library.
QString sqliteSchema();
QString postgresSchema();

enum class SchemaState { Complete, Missing, Partial };
// Whether the eleven timetable tables are all there, none is, or only some.
SchemaState schemaState(QSqlDatabase db);

// Makes a new SQLite file keep a write-ahead log (kept in the file): a
// commit then syncs the disk at most once, and readers never block the
// writer. Not for a file on a network share, where SQLite cannot share the
// log's memory between machines.
QString useWriteAheadLog(QSqlDatabase db);

// Creates the schema of the database's engine (QSQLITE or QPSQL).
QString createSchema(QSqlDatabase db);

// Rows already in the database's sz_xn (-1 when it cannot be read).
int timetableCount(QSqlDatabase db);

// Writes every row of the school in one transaction with batched inserts;
// with replace, the rows of all eleven tables (and of kcb_log, when there
// is one) are deleted first within the same transaction. Nothing is written
// when any statement fails.
QString writeSchool(QSqlDatabase db, const School& school, bool replace = false);

} // namespace gen

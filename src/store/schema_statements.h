#pragma once

#include <QString>

// The optional parts of the schema, per engine.
// Values are written into quoted literals with their single quotes doubled.
namespace sql {

// Whether the database has a table, or a table's column: one row when it has,
// none when not (also when the table is missing).
QString tablePresentSqlite(const QString& table);
QString tablePresentPostgres(const QString& table);
QString columnPresentSqlite(const QString& table, const QString& column);
QString columnPresentPostgres(const QString& table, const QString& column);

} // namespace sql

#pragma once

#include <QString>
#include <QStringList>

namespace sql {

// Writing test and benchmark schools (kbtz-gen). Table and column names are
// the generator's own constants, never user input; values travel as bound
// "?" placeholders, one group per row.
QString insertRows(const QString& table, const QStringList& columns, int rowCount);
QString deleteAllRows(const QString& table);
QString countRows(const QString& table);

} // namespace sql

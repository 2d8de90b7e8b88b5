#pragma once

#include <QSqlDatabase>
#include <QString>

// Opening a database is the host's business, not the control's; these help
// the test host, the tools and the tests do it the same way.

// A libpq-style connection string ("host=127.0.0.1 port=5432 dbname=x
// user=y password=z", values optionally in single quotes) as a QPSQL
// database under the given connection name, not yet opened. A malformed
// string leaves the fields unset and says why in *error.
QSqlDatabase postgresDatabase(const QString& conninfo, const QString& connectionName, QString* error = nullptr);

// An existing SQLite file as a QSQLITE database, not yet opened. Opening it
// never creates a missing file.
QSqlDatabase sqliteDatabase(const QString& file, const QString& connectionName);

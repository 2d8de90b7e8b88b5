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

// What a host may do right after opening a SQLite file that keeps a
// write-ahead log (the files this project writes do): let each commit return
// once it is in the log, syncing the disk only when the log is copied back
// (synchronous=normal). A power cut may lose the last commits, never the
// file. Nothing on a file with a rollback journal, or on another engine.
// The test host and the driver do it; the control itself never changes a
// setting of the host's connection.
void syncWalAtCheckpoints(QSqlDatabase db);

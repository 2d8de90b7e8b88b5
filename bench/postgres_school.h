#pragma once

#include <QSqlDatabase>
#include <QString>

namespace gen {
struct School;
}

// Opens the connection `connection` on the server `conninfo` and writes
// `school` into the schema `schema`, dropped first if it is there; the
// connection then works in that schema through its search path, as the
// tests' PostgreSQL databases do. Returns the reason on failure, else empty.
QString writePostgresSchool(const QString& conninfo, const QString& connection, const QString& schema,
                            const gen::School& school, QSqlDatabase& db);

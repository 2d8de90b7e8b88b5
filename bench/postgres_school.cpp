#include "postgres_school.h"

#include "gen/school.h"
#include "gen/writer.h"
#include "store/open_database.h"

#include <QSqlError>
#include <QSqlQuery>

QString writePostgresSchool(const QString& conninfo, const QString& connection, const QString& schema,
                            const gen::School& school, QSqlDatabase& db)
{
    QString error;
    db = postgresDatabase(conninfo, connection, &error);
    if (!error.isEmpty() || !db.open())
        return QStringLiteral("cannot reach PostgreSQL: %1%2").arg(error, db.lastError().text());
    QSqlQuery q(db);
    q.exec(QStringLiteral("set client_min_messages to warning"));
    if (!q.exec(QStringLiteral("drop schema if exists ") + schema + QStringLiteral(" cascade")) ||
        !q.exec(QStringLiteral("create schema ") + schema) || !q.exec(QStringLiteral("set search_path to ") + schema))
        return q.lastError().text();
    if (QString e = gen::runScript(db, gen::postgresSchema()); !e.isEmpty())
        return e;
    if (QString e = gen::writeSchool(db, school); !e.isEmpty())
        return e;
    q.exec(QStringLiteral("analyze"));
    return {};
}

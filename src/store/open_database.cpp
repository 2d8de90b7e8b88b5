#include "store/open_database.h"

#include "store/conninfo.h"

#include <QSqlQuery>

QSqlDatabase postgresDatabase(const QString& conninfo, const QString& connectionName, QString* error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    ConnInfo info;
    const QString problem = parseConnInfo(conninfo, &info);
    if (error)
        *error = problem;
    if (problem.isEmpty())
        applyConnInfo(info, db);
    return db;
}

QSqlDatabase sqliteDatabase(const QString& file, const QString& connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    // A file: URI with mode=rw fails on a missing file instead of creating it.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    QString path = file;
    path.replace(u'%', QStringLiteral("%25")).replace(u'?', QStringLiteral("%3f")).replace(u'#', QStringLiteral("%23"));
    db.setDatabaseName(QStringLiteral("file:") + path + QStringLiteral("?mode=rw"));
    return db;
}

void syncWalAtCheckpoints(QSqlDatabase db)
{
    if (!db.driverName().startsWith(QLatin1String("QSQLITE")))
        return;
    QSqlQuery mode(db);
    if (mode.exec(QStringLiteral("pragma journal_mode")) && mode.next() &&
        mode.value(0).toString() == QLatin1String("wal"))
        QSqlQuery(db).exec(QStringLiteral("pragma synchronous=normal"));
}

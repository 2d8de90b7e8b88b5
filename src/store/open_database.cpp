#include "store/open_database.h"

#include <QMap>

namespace {

// Splits "key=value key='quoted value'" pairs.
QMap<QString, QString> conninfoPairs(const QString& conninfo)
{
    QMap<QString, QString> pairs;
    int i = 0;
    const int n = conninfo.size();
    while (i < n) {
        while (i < n && conninfo[i].isSpace())
            ++i;
        const int keyStart = i;
        while (i < n && conninfo[i] != u'=' && !conninfo[i].isSpace())
            ++i;
        const QString key = conninfo.mid(keyStart, i - keyStart);
        while (i < n && conninfo[i].isSpace())
            ++i;
        if (i >= n || conninfo[i] != u'=')
            break;
        ++i;
        while (i < n && conninfo[i].isSpace())
            ++i;
        QString value;
        if (i < n && conninfo[i] == u'\'') {
            ++i;
            while (i < n && conninfo[i] != u'\'') {
                if (conninfo[i] == u'\\' && i + 1 < n)
                    ++i;
                value += conninfo[i++];
            }
            ++i;
        } else {
            while (i < n && !conninfo[i].isSpace())
                value += conninfo[i++];
        }
        if (!key.isEmpty())
            pairs.insert(key, value);
    }
    return pairs;
}

} // namespace

QSqlDatabase postgresDatabase(const QString& conninfo, const QString& connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    QStringList options;
    const auto pairs = conninfoPairs(conninfo);
    for (auto it = pairs.begin(); it != pairs.end(); ++it) {
        const QString& key = it.key();
        if (key == QLatin1String("host") || key == QLatin1String("hostaddr"))
            db.setHostName(it.value());
        else if (key == QLatin1String("port"))
            db.setPort(it.value().toInt());
        else if (key == QLatin1String("dbname"))
            db.setDatabaseName(it.value());
        else if (key == QLatin1String("user"))
            db.setUserName(it.value());
        else if (key == QLatin1String("password"))
            db.setPassword(it.value());
        else
            options << key + u'=' + it.value();
    }
    if (!options.isEmpty())
        db.setConnectOptions(options.join(u';'));
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

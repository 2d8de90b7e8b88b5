#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// A libpq-style connection string ("host=127.0.0.1 port=5432 dbname=x
// user=y"; a value may be single-quoted, with \' and \\ inside) taken apart
// for Qt's QPSQL driver.
struct ConnInfo {
    QString host;
    int port = -1;
    QString dbname;
    QString user;
    QString password;
    QStringList options; // every other keyword, as "key=value"
};

// Returns an empty text on success, else what is wrong with the text.
QString parseConnInfo(const QString& text, ConnInfo* info);

// Sets the fields of a QPSQL database from the parsed string.
void applyConnInfo(const ConnInfo& info, QSqlDatabase& db);

#include "support/temp_db.h"

#include "test_paths.h"
#include "store/value_text.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <gtest/gtest.h>

QString schemaText(const QString& fileName)
{
    QFile f(QStringLiteral(KBTZ_DATA_DIR "/") + fileName);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

bool runScript(QSqlDatabase db, const QString& script, QString* error)
{
    // Statements end with ";" at a line end; a body in single quotes may hold ";".
    QString current;
    bool inQuote = false;
    const auto flush = [&]() -> bool {
        const QString statement = current.trimmed();
        current.clear();
        if (statement.isEmpty())
            return true;
        QSqlQuery q(db);
        if (!q.exec(statement)) {
            if (error)
                *error = q.lastError().text() + QStringLiteral(" in: ") + statement;
            return false;
        }
        return true;
    };
    for (const QString& rawLine : script.split(u'\n')) {
        QString line = rawLine;
        if (!inQuote && line.trimmed().startsWith(QStringLiteral("--")))
            continue;
        for (QChar c : line)
            if (c == u'\'')
                inQuote = !inQuote;
        current += line + u'\n';
        if (!inQuote && line.trimmed().endsWith(u';')) {
            current.chop(1);
            current = current.trimmed();
            current.chop(1);
            if (!flush())
                return false;
        }
    }
    return flush();
}

TempDb::TempDb()
{
    path_ = dir_.path() + QStringLiteral("/timetable.db");
    connectionName_ = QStringLiteral("tempdb-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db.setDatabaseName(path_);
    if (!db.open())
        ADD_FAILURE() << "cannot open " << path_.toStdString();
    QString error;
    if (!runScript(db, schemaText(QStringLiteral("schema-sqlite.sql")), &error))
        ADD_FAILURE() << "schema: " << error.toStdString();
}

TempDb::~TempDb()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

void TempDb::exec(const QString& statement)
{
    QSqlQuery q(db());
    if (!q.exec(statement))
        ADD_FAILURE() << q.lastError().text().toStdString() << " in: " << statement.toStdString();
}

void TempDb::execAll(const QStringList& statements)
{
    for (const auto& s : statements)
        exec(s);
}

QVariant TempDb::scalar(const QString& query)
{
    QSqlQuery q(db());
    if (!q.exec(query)) {
        ADD_FAILURE() << q.lastError().text().toStdString() << " in: " << query.toStdString();
        return {};
    }
    return q.next() ? q.value(0) : QVariant();
}

QStringList TempDb::rows(const QString& query)
{
    QStringList out;
    QSqlQuery q(db());
    if (!q.exec(query)) {
        ADD_FAILURE() << q.lastError().text().toStdString() << " in: " << query.toStdString();
        return out;
    }
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << joinText(q.value(i));
        out << values.join(u'|');
    }
    return out;
}

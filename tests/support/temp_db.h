#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

// A real SQLite database file in a temporary folder, with the timetable
// schema, removed with the object.
class TempDb {
public:
    TempDb();
    ~TempDb();

    QSqlDatabase db() const { return QSqlDatabase::database(connectionName_); }
    QString path() const { return path_; }

    // Runs statements; fails the test on error.
    void exec(const QString& statement);
    void execAll(const QStringList& statements);

    // One value of the first row of a query (invalid when no row).
    QVariant scalar(const QString& query);
    // All rows of a query, each row's values joined by "|".
    QStringList rows(const QString& query);

private:
    QTemporaryDir dir_;
    QString path_;
    QString connectionName_;
};

// The text of a schema file in data/.
QString schemaText(const QString& fileName);

// Runs a script of statements separated by ";" at line ends.
bool runScript(QSqlDatabase db, const QString& script, QString* error = nullptr);

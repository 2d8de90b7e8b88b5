#pragma once

#include "support/test_database.h"

#include <QTemporaryDir>

// A real SQLite database file in a temporary folder.
class TempDb : public TestDatabase {
public:
    TempDb();
    ~TempDb() override;

    TestEngine engine() const override { return TestEngine::SQLite; }
    QSqlDatabase openSecond() override;
    QStringList driveArguments() const override { return {QStringLiteral("--db"), path_}; }
    QString path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};

// A fresh schema on the PostgreSQL server named by KBTZ_PG_CONNINFO; every
// connection of the test works in it through its search path.
class PgTempDb : public TestDatabase {
public:
    PgTempDb();
    ~PgTempDb() override;

    TestEngine engine() const override { return TestEngine::PostgreSQL; }
    QSqlDatabase openSecond() override;
    QStringList driveArguments() const override;
    QString schema() const { return schema_; }

private:
    QSqlDatabase connect(const QString& name);
    QString schema_;
};

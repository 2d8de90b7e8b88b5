#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <string>
#include <vector>

// The engines an end-to-end test can run on. PostgreSQL takes part when the
// environment names a server (KBTZ_PG_CONNINFO, set by .ci/run).
enum class TestEngine { SQLite, PostgreSQL };

std::string engineName(TestEngine engine);
std::vector<TestEngine> availableEngines();
QString postgresConninfo();

// A fresh database with the timetable schema, on a real engine, removed
// with the object.
class TestDatabase {
public:
    virtual ~TestDatabase();

    virtual TestEngine engine() const = 0;
    QSqlDatabase db() const { return QSqlDatabase::database(connectionName_); }

    // Another connection to the same database, as a second desk has.
    virtual QSqlDatabase openSecond() = 0;
    // The arguments that start kbtz-drive (another desk, as a process of its
    // own) on this database.
    virtual QStringList driveArguments() const = 0;

    // Runs statements; fails the test on error.
    void exec(const QString& statement);
    void execAll(const QStringList& statements);

    // One value of the first row of a query (invalid when no row).
    QVariant scalar(const QString& query);
    // All rows of a query, each row's values joined by "|".
    QStringList rows(const QString& query);

protected:
    QString connectionName_;
    std::vector<QString> extraConnections_;
};

std::unique_ptr<TestDatabase> makeTestDatabase(TestEngine engine);

// Runs a TEST_P suite whose parameter is a TestEngine on every engine at hand.
#define KBTZ_ON_EVERY_ENGINE(Suite)                                                                                    \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::ValuesIn(availableEngines()),                                  \
                             [](const auto& info) { return engineName(info.param); })

#include "support/temp_db.h"

#include "store/open_database.h"
#include "store/value_text.h"
#include "gen/writer.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <gtest/gtest.h>

namespace {
QString uniqueName(const char* prefix)
{
    return QString::fromLatin1(prefix) + QUuid::createUuid().toString(QUuid::Id128);
}

// Runs a statement; fails the test, naming it, when the engine refuses it.
bool run(QSqlQuery& q, const QString& statement)
{
    if (q.exec(statement))
        return true;
    ADD_FAILURE() << q.lastError().text().toStdString() << " in: " << statement.toStdString();
    return false;
}

void removeConnection(const QString& name)
{
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}
} // namespace

std::string engineName(TestEngine engine) { return engine == TestEngine::SQLite ? "SQLite" : "PostgreSQL"; }

QString postgresConninfo() { return qEnvironmentVariable("KBTZ_PG_CONNINFO"); }

std::vector<TestEngine> availableEngines()
{
    std::vector<TestEngine> engines{TestEngine::SQLite};
    if (!postgresConninfo().isEmpty())
        engines.push_back(TestEngine::PostgreSQL);
    return engines;
}

std::unique_ptr<TestDatabase> makeTestDatabase(TestEngine engine)
{
    if (engine == TestEngine::PostgreSQL)
        return std::make_unique<PgTempDb>();
    return std::make_unique<TempDb>();
}

TestDatabase::~TestDatabase() = default;

void TestDatabase::exec(const QString& statement)
{
    QSqlQuery q(db());
    run(q, statement);
}

void TestDatabase::execAll(const QStringList& statements)
{
    for (const auto& s : statements)
        exec(s);
}

QVariant TestDatabase::scalar(const QString& query)
{
    QSqlQuery q(db());
    return run(q, query) && q.next() ? q.value(0) : QVariant();
}

QStringList TestDatabase::rows(const QString& query)
{
    QSqlQuery q(db());
    if (!run(q, query))
        return {};
    QStringList out;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << joinText(q.value(i));
        out << values.join(u'|');
    }
    return out;
}

TempDb::TempDb()
{
    path_ = dir_.path() + QStringLiteral("/timetable.db");
    connectionName_ = uniqueName("sqlite-");
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db.setDatabaseName(path_);
    if (!db.open())
        ADD_FAILURE() << "cannot open " << path_.toStdString();
    // A throw-away file needs no flush to disk after every write.
    QSqlQuery(db).exec(QStringLiteral("pragma synchronous = off"));
    if (const QString error = gen::createSchema(db); !error.isEmpty())
        ADD_FAILURE() << "schema: " << error.toStdString();
}

QSqlDatabase TempDb::openSecond()
{
    const QString name = uniqueName("sqlite2-");
    QSqlDatabase db = sqliteDatabase(path_, name);
    if (!db.open())
        ADD_FAILURE() << "cannot open " << path_.toStdString() << ": " << db.lastError().text().toStdString();
    QSqlQuery(db).exec(QStringLiteral("pragma synchronous = off"));
    extraConnections_.push_back(name);
    return db;
}

TempDb::~TempDb()
{
    for (const QString& name : extraConnections_)
        removeConnection(name);
    removeConnection(connectionName_);
}

PgTempDb::PgTempDb()
{
    schema_ = uniqueName("t_");
    connectionName_ = uniqueName("pg-");
    QSqlDatabase db = connect(connectionName_);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("create schema ") + schema_))
        ADD_FAILURE() << "schema: " << q.lastError().text().toStdString();
    if (const QString error = gen::runScript(db, gen::postgresSchema()); !error.isEmpty())
        ADD_FAILURE() << "schema: " << error.toStdString();
}

QSqlDatabase PgTempDb::connect(const QString& name)
{
    QSqlDatabase db = postgresDatabase(postgresConninfo(), name);
    // The schema (named before it exists: the server looks it up at each
    // statement) and the notice level as parameters of the connection, in
    // libpq's quoting, which Qt passes on as it is: a connection opened again
    // (a reconnect) keeps them.
    QStringList options{db.connectOptions(),
                        QStringLiteral("options='-c client_min_messages=warning -c search_path=%1'").arg(schema_)};
    options.removeAll(QString());
    db.setConnectOptions(options.join(u';'));
    if (!db.open())
        ADD_FAILURE() << "cannot reach PostgreSQL: " << db.lastError().text().toStdString();
    return db;
}

QStringList PgTempDb::driveArguments() const
{
    return {QStringLiteral("--pg"), postgresConninfo() + QStringLiteral(" options=-csearch_path=") + schema_};
}

QSqlDatabase PgTempDb::openSecond()
{
    const QString name = uniqueName("pg2-");
    extraConnections_.push_back(name);
    return connect(name);
}

PgTempDb::~PgTempDb()
{
    for (const QString& name : extraConnections_)
        removeConnection(name);
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        QSqlQuery q(db);
        q.exec(QStringLiteral("drop schema ") + schema_ + QStringLiteral(" cascade"));
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

#include "store/connection.h"

#include "store/control_error.h"
#include "store/parameterized_text.h"
#include "store/prepared_statements.h"
#include "store/sqlite_equivalents.h"
#include "store/sqlite_functions.h"
#include "store/statements.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <libpq-fe.h>
#include <optional>
#include <sqlite3.h>

namespace {

Engine engineOf(const QSqlDatabase& db)
{
    const QString driver = db.driverName();
    if (driver.startsWith(QLatin1String("QSQLITE")))
        return Engine::SQLite;
    if (driver.startsWith(QLatin1String("QPSQL")))
        return Engine::PostgreSQL;
    return Engine::Other;
}

sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.constData());
}

PGconn* pgHandle(const QSqlDatabase& db)
{
    const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
    // Qt registers the handle under the struct's own name, pg_conn*.
    if (!v.isValid() || (qstrcmp(v.typeName(), "PGconn*") != 0 && qstrcmp(v.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(v.constData());
}

} // namespace

Connection::Connection(QSqlDatabase db) : db_(std::move(db)), engine_(engineOf(db_))
{
    if (engine_ == Engine::SQLite) {
        if (sqlite3* handle = sqliteHandle(db_))
            registerAccessFunctions(handle);
    }
    setSqliteEquivalents(true);
    setPostgresEquivalents(true);
}

void Connection::setSqliteEquivalents(bool on)
{
    if (engine_ != Engine::SQLite)
        return;
    setRewriter(on ? Rewriter(sqliteEquivalent) : Rewriter());
    sqliteEquivalents_ = on;
}

void Connection::setPostgresEquivalents(bool on)
{
    if (engine_ != Engine::PostgreSQL)
        return;
    setRewriter(on ? Rewriter(sqliteEquivalent) : Rewriter());
    prepared_ = on ? &PreparedStatements::of(db_) : nullptr;
}

std::vector<TraceEntry> Connection::takeTrace()
{
    std::vector<TraceEntry> out;
    out.swap(trace_);
    return out;
}

void Connection::appendTrace(std::vector<TraceEntry> earlier)
{
    earlier.insert(earlier.end(), trace_.begin(), trace_.end());
    trace_ = std::move(earlier);
}

[[noreturn]] static void throwDbError(const QSqlError& error)
{
    QString description = error.databaseText().trimmed();
    if (description.isEmpty())
        description = error.text().trimmed();
    if (description.isEmpty())
        description = QStringLiteral("数据库连接不可用");
    throw DbError(description);
}

QSqlQuery Connection::send(TraceEntry entry)
{
    const QString rewritten = rewriter_ ? rewriter_(entry.text) : QString();
    const QString& runs = rewritten.isEmpty() ? entry.text : rewritten;
    // Prepared before the statement is traced, so that the trace shows
    // whether it runs prepared; a preparation changes no data.
    std::optional<ParameterizedText> statement;
    if (prepared_ && db_.isOpen()) {
        statement = parameterized(runs);
        if (statement && !prepared_->prepare(db_, *statement, inTransaction()))
            statement.reset();
    }
    auto executedFor = [&entry](const QString& ran) { return ran == entry.text ? QString() : ran; };
    entry.executed = executedFor(statement ? statement->text : runs);
    if (traceEnabled_)
        trace_.push_back(entry);
    if (faultHook_)
        faultHook_(entry);
    if (!db_.isOpen())
        throw DbError(QStringLiteral("数据库连接已关闭"));

    QSqlQuery query(db_);
    query.setForwardOnly(entry.op == TraceEntry::Op::Open);
    using Outcome = PreparedStatements::Outcome;
    Outcome outcome = statement ? prepared_->execute(db_, query, *statement, inTransaction()) : Outcome::RunAsWritten;
    if (outcome == Outcome::RunAsWritten) {
        if (statement && traceEnabled_)
            trace_.back().executed = executedFor(runs);
        outcome = query.exec(runs) ? Outcome::Ran : Outcome::Failed;
    }
    if (outcome == Outcome::Failed)
        throwDbError(query.lastError());
    return query;
}

void Connection::execute(const QString& text)
{
    TraceEntry entry;
    entry.op = TraceEntry::Op::Execute;
    entry.text = text;
    send(std::move(entry));
}

void Connection::executeExtra(const QString& text)
{
    TraceEntry entry;
    entry.op = TraceEntry::Op::Execute;
    entry.check = true;
    entry.text = text;
    send(std::move(entry));
}

Recordset Connection::open(const QString& text, CursorType cursorType, LockType lockType, CursorLocation cursorLocation)
{
    TraceEntry entry;
    entry.op = TraceEntry::Op::Open;
    entry.text = text;
    entry.cursorType = cursorType;
    entry.lockType = lockType;
    entry.cursorLocation = cursorLocation;
    return read(std::move(entry));
}

Recordset Connection::check(const QString& text)
{
    TraceEntry entry;
    entry.op = TraceEntry::Op::Open;
    entry.check = true;
    entry.text = text;
    entry.cursorType = CursorType::Static;
    entry.lockType = LockType::ReadOnly;
    return read(std::move(entry));
}

Recordset Connection::read(TraceEntry entry)
{
    QSqlQuery query = send(std::move(entry));

    const QSqlRecord rec = query.record();
    QStringList columns;
    columns.reserve(rec.count());
    for (int i = 0; i < rec.count(); ++i)
        columns << rec.fieldName(i);

    std::vector<std::vector<QVariant>> rows;
    while (query.next()) {
        std::vector<QVariant> row;
        row.reserve(static_cast<size_t>(rec.count()));
        for (int i = 0; i < rec.count(); ++i)
            row.push_back(query.value(i));
        rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        throwDbError(query.lastError());
    return Recordset(std::move(columns), std::move(rows));
}

const OptionalSchema& Connection::optionalSchema()
{
    if (!optionalSchema_)
        optionalSchema_ = findOptionalSchema(*this);
    return *optionalSchema_;
}

bool Connection::inTransaction() const
{
    switch (engine_) {
    case Engine::SQLite:
        if (sqlite3* h = sqliteHandle(db_))
            return sqlite3_get_autocommit(h) == 0;
        return false;
    case Engine::PostgreSQL:
        if (PGconn* h = pgHandle(db_))
            return PQtransactionStatus(h) != PQTRANS_IDLE;
        return false;
    case Engine::Other: return false;
    }
    return false;
}

namespace {
const char* const kSavepoint = "kbtz_write_unit";

void runControl(QSqlDatabase& db, const QString& text)
{
    QSqlQuery query(db);
    if (!query.exec(text))
        throwDbError(query.lastError());
}

// The first value of a control statement's first row.
QString controlValue(QSqlDatabase& db, const QString& text)
{
    QSqlQuery query(db);
    if (!query.exec(text))
        throwDbError(query.lastError());
    return query.next() ? query.value(0).toString() : QString();
}
} // namespace

WriteUnit::WriteUnit(Connection& conn, const QString& timetableId) : conn_(conn)
{
    if (!conn_.database().isOpen())
        throw DbError(QStringLiteral("数据库连接已关闭"));
    begin();
    open_ = true;
    try {
        boundLockWaits();
        lockTimetable(timetableId);
    } catch (...) {
        rollback();
        throw;
    }
}

void WriteUnit::begin()
{
    QSqlDatabase db = conn_.database();
    if (conn_.inTransaction()) {
        savepoint_ = true;
        runControl(db, QStringLiteral("SAVEPOINT %1").arg(QLatin1String(kSavepoint)));
    } else if (conn_.engine() == Engine::SQLite) {
        // A deferred transaction would take the write lock only at its first
        // write, after the checks have read what another desk may still change.
        ownCommands_ = true;
        runControl(db, QStringLiteral("BEGIN IMMEDIATE"));
    } else if (!db.transaction()) {
        throwDbError(db.lastError());
    }
}

void WriteUnit::lockTimetable(const QString& timetableId)
{
    QSqlDatabase db = conn_.database();
    switch (conn_.engine()) {
    case Engine::PostgreSQL: runControl(db, sql::timetableEditLock(timetableId)); break;
    case Engine::SQLite:
        if (savepoint_)
            runControl(db, sql::takeWriteLock());
        break;
    case Engine::Other: break; // no lock of the engine's own is known here; the checks still run
    }
}

void WriteUnit::boundLockWaits()
{
    if (conn_.engine() != Engine::PostgreSQL)
        return; // SQLite waits its busy timeout at most, then reports the file locked
    QSqlDatabase db = conn_.database();
    // Local to the unit's transaction; inside the host's transaction it is
    // undone by a rollback to the savepoint, and by commit() otherwise.
    lockTimeoutSet_ =
        controlValue(db, QStringLiteral("select set_config('lock_timeout', '%1', true) "
                                        "from (select current_setting('lock_timeout') as t) s where t = '0'")
                             .arg(QLatin1String(kUnitLockTimeout)))
            .size() > 0;
}

WriteUnit::~WriteUnit()
{
    if (open_)
        rollback();
}

void WriteUnit::commit()
{
    if (!open_)
        return;
    QSqlDatabase db = conn_.database();
    if (savepoint_) {
        runControl(db, QStringLiteral("RELEASE SAVEPOINT %1").arg(QLatin1String(kSavepoint)));
        if (lockTimeoutSet_)
            runControl(db, QStringLiteral("select set_config('lock_timeout', '0', true)"));
    } else if (ownCommands_) {
        runControl(db, QStringLiteral("COMMIT"));
    } else if (!db.commit()) {
        throwDbError(db.lastError());
    }
    open_ = false;
}

void WriteUnit::rollback() noexcept
{
    open_ = false;
    QSqlDatabase db = conn_.database();
    try {
        if (savepoint_) {
            runControl(db, QStringLiteral("ROLLBACK TO SAVEPOINT %1").arg(QLatin1String(kSavepoint)));
            runControl(db, QStringLiteral("RELEASE SAVEPOINT %1").arg(QLatin1String(kSavepoint)));
        } else if (ownCommands_) {
            runControl(db, QStringLiteral("ROLLBACK"));
        } else {
            db.rollback();
        }
    } catch (...) {
        // The connection is gone; the database discards the open work itself.
    }
}

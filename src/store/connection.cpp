#include "store/connection.h"

#include "store/control_error.h"
#include "store/db_error_text.h"
#include "store/parameterized_text.h"
#include "store/prepared_statements.h"
#include "store/session_statements.h"
#include "store/sqlite_equivalents.h"
#include "store/sqlite_functions.h"

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

bool Connection::lost() const
{
    if (!db_.isOpen())
        return true;
    if (engine_ == Engine::PostgreSQL)
        if (PGconn* h = pgHandle(db_))
            return PQstatus(h) == CONNECTION_BAD;
    return false;
}

void Connection::fail(const QSqlError& error)
{
    if (!lost()) {
        const QString text = dbErrorText(error);
        // Within a user action, one wait that ran out is enough: the action's
        // later statements fail at once with the same reason.
        if (lockWaitBounds_ > 0 && text.startsWith(QString::fromUtf8(kTimetableBusy)))
            busyText_ = text;
        throw DbError(text);
    }
    lostNoticed_ = true;
    if (onLost_)
        onLost_();
    throw ConnectionLost(dbErrorText(error));
}

void Connection::requireSession()
{
    if (!lost())
        return;
    // Once the loss was noticed, a host's failed try to open the connection
    // again leaves it closed: still the same loss.
    const bool noticed = std::exchange(lostNoticed_, true);
    if (onLost_)
        onLost_();
    // A server connection that died reports itself closed.
    QString text = engine_ == Engine::PostgreSQL ? QStringLiteral("与数据库服务器的连接已断开")
                                                 : QStringLiteral("数据库连接已关闭");
    if (noticed)
        text += QStringLiteral("，正在等待重新连接");
    throw ConnectionLost(text);
}

QSqlQuery Connection::send(TraceEntry entry)
{
    if (!busyText_.isEmpty())
        throw DbError(busyText_);
    const QString rewritten = rewriter_ ? rewriter_(entry.text) : QString();
    const QString& runs = rewritten.isEmpty() ? entry.text : rewritten;
    // Prepared before the statement is traced, so that the trace shows
    // whether it runs prepared; a preparation changes no data.
    std::optional<ParameterizedText> statement;
    if (prepared_ && !lost()) {
        statement = parameterized(runs);
        if (statement && !prepared_->prepare(db_, *statement, inTransaction()))
            statement.reset();
        if (const std::optional<QSqlError> blocked = prepared_->takeBlocked())
            fail(*blocked);
    }
    auto executedFor = [&entry](const QString& ran) { return ran == entry.text ? QString() : ran; };
    entry.executed = executedFor(statement ? statement->text : runs);
    if (traceEnabled_)
        trace_.push_back(entry);
    if (faultHook_)
        faultHook_(entry);
    requireSession();

    QSqlQuery query(db_);
    query.setForwardOnly(entry.op == TraceEntry::Op::Open);
    using Outcome = PreparedStatements::Outcome;
    Outcome outcome = statement ? prepared_->execute(db_, query, *statement, inTransaction()) : Outcome::RunAsWritten;
    if (outcome == Outcome::RunAsWritten) {
        if (statement)
            if (const std::optional<QSqlError> blocked = prepared_->takeBlocked())
                fail(*blocked);
        if (statement && traceEnabled_)
            trace_.back().executed = executedFor(runs);
        outcome = query.exec(runs) ? Outcome::Ran : Outcome::Failed;
    }
    if (outcome == Outcome::Failed)
        fail(query.lastError());
    return query;
}

int Connection::execute(const QString& text)
{
    TraceEntry entry;
    entry.op = TraceEntry::Op::Execute;
    entry.text = text;
    return send(std::move(entry)).numRowsAffected();
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
        fail(query.lastError());
    return Recordset(std::move(columns), std::move(rows));
}

std::vector<Connection::Notice> Connection::takeNotices()
{
    std::vector<Notice> notices;
    PGconn* h = engine_ == Engine::PostgreSQL ? pgHandle(db_) : nullptr;
    if (!h || PQstatus(h) != CONNECTION_OK)
        return notices;
    PQconsumeInput(h);
    while (PGnotify* n = PQnotifies(h)) {
        notices.push_back(
            Notice{QString::fromUtf8(n->relname), QString::fromUtf8(n->extra), n->be_pid == PQbackendPID(h)});
        PQfreemem(n);
    }
    return notices;
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

void runControl(Connection& conn, const QString& text)
{
    QSqlQuery query(conn.database());
    if (!query.exec(text))
        conn.fail(query.lastError());
}

// The first value of a control statement's first row.
QString controlValue(Connection& conn, const QString& text)
{
    QSqlQuery query(conn.database());
    if (!query.exec(text))
        conn.fail(query.lastError());
    return query.next() ? query.value(0).toString() : QString();
}
} // namespace

WriteUnit::WriteUnit(Connection& conn, const QString& timetableId) : conn_(conn)
{
    conn_.requireSession();
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
        runControl(conn_, QStringLiteral("SAVEPOINT %1").arg(QLatin1String(kSavepoint)));
    } else if (conn_.engine() == Engine::SQLite) {
        // A deferred transaction would take the write lock only at its first
        // write, after the checks have read what another desk may still change.
        ownCommands_ = true;
        runControl(conn_, QStringLiteral("BEGIN IMMEDIATE"));
    } else if (!db.transaction()) {
        conn_.fail(db.lastError());
    }
}

void WriteUnit::lockTimetable(const QString& timetableId)
{
    QSqlDatabase db = conn_.database();
    switch (conn_.engine()) {
    case Engine::PostgreSQL: runControl(conn_, sql::timetableEditLock(timetableId)); break;
    case Engine::SQLite:
        if (savepoint_)
            runControl(conn_, sql::takeWriteLock());
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
        controlValue(conn_, QStringLiteral("select set_config('lock_timeout', '%1', true) "
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
        runControl(conn_, QStringLiteral("RELEASE SAVEPOINT %1").arg(QLatin1String(kSavepoint)));
        if (lockTimeoutSet_)
            runControl(conn_, QStringLiteral("select set_config('lock_timeout', '0', true)"));
    } else if (ownCommands_) {
        runControl(conn_, QStringLiteral("COMMIT"));
    } else if (!db.commit()) {
        conn_.fail(db.lastError());
    }
    open_ = false;
}

void WriteUnit::rollback() noexcept
{
    open_ = false;
    QSqlDatabase db = conn_.database();
    try {
        if (savepoint_) {
            runControl(conn_, QStringLiteral("ROLLBACK TO SAVEPOINT %1").arg(QLatin1String(kSavepoint)));
            runControl(conn_, QStringLiteral("RELEASE SAVEPOINT %1").arg(QLatin1String(kSavepoint)));
        } else if (ownCommands_) {
            runControl(conn_, QStringLiteral("ROLLBACK"));
        } else {
            db.rollback();
        }
    } catch (...) {
        // The connection is gone; the database discards the open work itself.
    }
}

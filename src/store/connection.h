#pragma once

#include "store/optional_schema.h"
#include "store/recordset.h"
#include "store/trace_entry.h"

#include <QSqlDatabase>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class PreparedStatements;
class QSqlError;
class QSqlQuery;

enum class Engine { SQLite, PostgreSQL, Other };

// The host's open database, as the control uses it: run a statement, open a
// recordset, and a trace of every statement sent. The control never opens or
// closes the database. Every failure throws DbError carrying the database's
// own description of it.
class Connection {
public:
    explicit Connection(QSqlDatabase db);

    Engine engine() const { return engine_; }
    QSqlDatabase database() const { return db_; }

    // Runs one insert, update or delete at once; returns the number of rows
    // it touched, as the engine counts them.
    int execute(const QString& text);

    // Opens a read; the first row is current afterwards.
    Recordset open(const QString& text, CursorType cursorType, LockType lockType,
                   CursorLocation cursorLocation = CursorLocation::Unspecified);

    // A read of an edit's write-time check (static, read-only), traced with
    // `check` set so that it stands apart from the control's own statements.
    Recordset check(const QString& text);
    // A write that goes with an edit beside the control's own statements
    // (its change-log row), traced with `check` set as well.
    void executeExtra(const QString& text);

    // The statement trace, off until switched on.
    void setTraceEnabled(bool on) { traceEnabled_ = on; }
    const std::vector<TraceEntry>& trace() const { return trace_; }
    std::vector<TraceEntry> takeTrace();
    void appendTrace(std::vector<TraceEntry> earlier);

    // Called with every statement before it reaches the database; it may
    // throw to make the statement fail on purpose (fault tests).
    using FaultHook = std::function<void(const TraceEntry&)>;
    void setFaultHook(FaultHook hook) { faultHook_ = std::move(hook); }

    // Rewrites a statement into the form the engine runs (see
    // sqlite_equivalents.h); returns an empty text to run it as it is.
    using Rewriter = std::function<QString(const QString&)>;
    void setRewriter(Rewriter rewriter)
    {
        rewriter_ = std::move(rewriter);
        sqliteEquivalents_ = false;
    }

    // On SQLite, runs the equivalent forms of sqlite_equivalents.h in place
    // of the statements they stand for (the trace keeps the control's text
    // and shows the other as `executed`). On by default; no effect on any
    // other engine.
    void setSqliteEquivalents(bool on);
    bool sqliteEquivalents() const { return sqliteEquivalents_; }

    // On PostgreSQL, runs the same equivalent forms, and every statement
    // with its quoted values as parameters of a statement prepared on the
    // session (prepared_statements.h); `executed` shows the text prepared,
    // $1, $2, ... standing for the quoted values of the control's text in
    // order. A text the server will not take so runs as it is. On by
    // default; no effect on any other engine.
    void setPostgresEquivalents(bool on);

    // Whether a transaction is open on the connection right now.
    bool inTransaction() const;

    // Whether the session is gone: the database closed, or (PostgreSQL) the
    // server ended the connection (a restart, an administrator). Only the
    // host can open it again (QX_MavoWin::Reconnect).
    bool lost() const;
    // Called once for every statement that meets a lost session, before it
    // throws ConnectionLost.
    void setLostHook(std::function<void()> hook) { onLost_ = std::move(hook); }
    // Throws ConnectionLost when the session is gone, DbError otherwise, with
    // the error's text for the user (store/db_error_text.h).
    [[noreturn]] void fail(const QSqlError& error);
    // Throws ConnectionLost at once when the session is gone.
    void requireSession();

    // PostgreSQL: the notifications that reached the session and were not
    // taken yet, taken now (libpq queues them as they arrive with any
    // result); none on other engines.
    struct Notice {
        QString channel, payload;
        bool own = false; // sent by this session
    };
    std::vector<Notice> takeNotices();

    // What the database has of this project's additions, looked up on the
    // first call (findOptionalSchema) and kept for the connection's life.
    const OptionalSchema& optionalSchema();

private:
    friend class LockWaitBound;

    // Traces `entry` and runs it, or what stands for it.
    QSqlQuery send(TraceEntry entry);
    Recordset read(TraceEntry entry);

    QSqlDatabase db_;
    Engine engine_;
    bool traceEnabled_ = false;
    std::vector<TraceEntry> trace_;
    FaultHook faultHook_;
    std::function<void()> onLost_;
    bool lostNoticed_ = false;
    Rewriter rewriter_;
    bool sqliteEquivalents_ = false;
    PreparedStatements* prepared_ = nullptr; // the session's, while PostgreSQL runs equivalents
    int lockWaitBounds_ = 0;                 // LockWaitBound objects alive on the connection
    QString busyText_;                       // a lock wait that ran out in the current user action
    std::optional<OptionalSchema> optionalSchema_;
};

// The writes of one edit as a single unit: a transaction of its own, or a
// savepoint inside the one the host already has open. Rolled back on
// destruction unless committed.
//
// Edits of one timetable are serialized: from its start until its end the
// unit holds the timetable's write lock, so that what an edit checks before
// it writes still holds when it commits, whatever other desks do (PostgreSQL:
// a transaction-scoped advisory lock derived from the timetable id; SQLite:
// the file's write lock, taken when the unit begins). Inside a transaction of
// the host's the lock lasts until the host ends it.
//
// On PostgreSQL the unit never waits without end for rows or the lock another
// desk holds: when the session sets no lock timeout, the unit's statements
// wait at most kUnitLockTimeout (LockWaitBound's bound, for a unit run
// outside a user action), then fail like any rejected statement; a lock
// timeout the host set is kept.
class WriteUnit {
public:
    static constexpr const char* kUnitLockTimeout = "5s";

    WriteUnit(Connection& conn, const QString& timetableId);
    ~WriteUnit();
    WriteUnit(const WriteUnit&) = delete;
    WriteUnit& operator=(const WriteUnit&) = delete;

    void commit();

private:
    void rollback() noexcept;
    void begin();
    void boundLockWaits();
    void lockTimetable(const QString& timetableId);

    Connection& conn_;
    bool savepoint_ = false;
    bool ownCommands_ = false; // SQLite: the unit's own begin, commit and rollback
    bool open_ = false;
    bool lockTimeoutSet_ = false;
};

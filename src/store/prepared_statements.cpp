#include "store/prepared_statements.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const QLatin1String kSavepoint("qx_mavowin_statement");

// SQLSTATEs of the server's answers this file acts on.
const QLatin1String kNoSuchStatement("26000");
const QLatin1String kStatementExists("42P05");
const QLatin1String kResultTypeChanged("0A000"); // a prepared "select *" after the table changed
const QLatin1String kRefusedClass("42");         // syntax, types, names: the text itself

QString sqlState(const QSqlQuery& query) { return query.lastError().nativeErrorCode(); }

// A lock wait run out (55P03), the server shutting down (57...) or the
// connection lost (08...): the plain text would fail the same way.
bool isBlockingState(const QString& state)
{
    return state == QLatin1String("55P03") || state.startsWith(QLatin1String("57")) ||
           state.startsWith(QLatin1String("08"));
}

// A savepoint around one step, inside a transaction only; released when
// the step worked, rolled back to and released when the control's own step
// failed, kept (with the transaction aborted) when the statement failed.
class StepGuard {
public:
    StepGuard(QSqlDatabase& db, bool inTransaction) : db_(db), on_(inTransaction) {}

    // Opens the savepoint in `query`, so that a failure (a transaction
    // already aborted) is reported as the statement's own.
    bool open(QSqlQuery& query) { return !on_ || query.exec(QLatin1String("SAVEPOINT ") + kSavepoint); }
    bool open()
    {
        QSqlQuery query(db_);
        return open(query);
    }
    void release() { run(QLatin1String("RELEASE SAVEPOINT ")); }
    void undo() { run(QLatin1String("ROLLBACK TO SAVEPOINT ")); }
    void undoAndRelease()
    {
        undo();
        release();
    }

private:
    void run(QLatin1String command)
    {
        if (on_)
            QSqlQuery(db_).exec(command + kSavepoint);
    }

    QSqlDatabase& db_;
    bool on_;
};

QString executeText(const QString& name, const QStringList& literals)
{
    if (literals.isEmpty())
        return QLatin1String("EXECUTE ") + name;
    return QLatin1String("EXECUTE ") + name + u'(' + literals.join(u',') + u')';
}

} // namespace

PreparedStatements& PreparedStatements::of(const QSqlDatabase& db)
{
    QSqlDriver* driver = db.driver();
    auto* set = driver->findChild<PreparedStatements*>(QString(), Qt::FindDirectChildrenOnly);
    return set ? *set : *new PreparedStatements(driver);
}

bool PreparedStatements::prepare(QSqlDatabase& db, const ParameterizedText& statement, bool inTransaction)
{
    if (!sessionKeepsThem_)
        return false;
    auto it = entries_.find(statement.text);
    if (it == entries_.end())
        it = entries_.insert(statement.text, Entry{QStringLiteral("qx_mavowin_%1").arg(++lastName_)});
    it->lastUse = ++clock_;
    if (!it->prepared && !it->refused) {
        StepGuard guard(db, inTransaction);
        if (guard.open()) {
            if (prepareEntry(db, *it, statement.text))
                guard.release();
            else
                guard.undoAndRelease();
        }
    }
    const bool prepared = it->prepared; // the eviction may move entries
    evictBeyondCapacity(db, statement.text, inTransaction);
    return prepared;
}

// A name the session holds already is one of ours whose preparation was
// forgotten here (after a statement found missing, only some were); it
// stands for this text, since names are never given to another.
bool PreparedStatements::prepareEntry(QSqlDatabase& db, Entry& entry, const QString& text)
{
    QSqlQuery query(db);
    entry.prepared = query.exec(QLatin1String("PREPARE ") + entry.name + QLatin1String(" AS ") + text) ||
                     sqlState(query) == kStatementExists;
    entry.refused = !entry.prepared && sqlState(query).startsWith(kRefusedClass);
    if (!entry.prepared && isBlockingState(sqlState(query)))
        blocked_ = query.lastError();
    return entry.prepared;
}

PreparedStatements::Outcome PreparedStatements::execute(QSqlDatabase& db, QSqlQuery& query,
                                                        const ParameterizedText& statement, bool inTransaction)
{
    Entry& entry = entries_[statement.text];
    entry.lastUse = ++clock_;
    StepGuard guard(db, inTransaction);
    if (inTransaction)
        query.setForwardOnly(false);
    if (!guard.open(query))
        return Outcome::Failed;
    const QString text = executeText(entry.name, statement.literals);
    bool ok = query.exec(text);
    const QString state = ok ? QString() : sqlState(query);
    if (state == kNoSuchStatement || state == kResultTypeChanged) {
        guard.undo();
        if (state == kNoSuchStatement) {
            // Whatever threw this one away (DISCARD ALL, a new session)
            // took the others with it.
            for (Entry& e : entries_)
                e.prepared = false;
        } else {
            QSqlQuery(db).exec(QLatin1String("DEALLOCATE ") + entry.name);
            entry.prepared = false;
        }
        const bool prepared = prepareEntry(db, entry, statement.text);
        ok = prepared && query.exec(text);
        // Gone again at once: each statement reaches another server session
        // (a pooler's transaction mode), so none is prepared any more.
        if (prepared && !ok && sqlState(query) == kNoSuchStatement)
            sessionKeepsThem_ = false;
        if (!prepared || !sessionKeepsThem_) {
            guard.undoAndRelease();
            return Outcome::RunAsWritten;
        }
    }
    if (ok)
        guard.release();
    return ok ? Outcome::Ran : Outcome::Failed;
}

void PreparedStatements::evictBeyondCapacity(QSqlDatabase& db, const QString& keep, bool inTransaction)
{
    while (entries_.size() > kCapacity) {
        // Inside a transaction a prepared statement stays until the next
        // chance: deallocating one the host threw away would abort it.
        auto oldest = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it.key() == keep || (it->prepared && inTransaction))
                continue;
            if (oldest == entries_.end() || it->lastUse < oldest->lastUse)
                oldest = it;
        }
        if (oldest == entries_.end())
            return;
        if (oldest->prepared)
            QSqlQuery(db).exec(QLatin1String("DEALLOCATE ") + oldest->name);
        entries_.erase(oldest);
    }
}

#pragma once

#include "store/parameterized_text.h"

#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <optional>
#include <utility>

class QSqlQuery;

// The statements the control has prepared on one PostgreSQL session, shared
// by every Connection on it. The control sends a few texts over and over
// with other values (a grid fill per class, the plan view per teacher), and
// the server spends more time planning them than running them; prepared
// once with their values as parameters, they are planned once for all
// values. Each is named qx_mavowin_N; once more than kCapacity are held,
// the least recently used is deallocated, so the session never holds more
// than that many of them. Nothing here changes a setting of the session.
//
// The host may throw the statements away (DISCARD ALL, DEALLOCATE, a new
// session after a reconnect): a statement found missing is prepared again
// and run again; found missing again at once, the session keeps none (a
// pooler hands each statement to another), and every text runs as written
// from then on. So that neither a missing nor a refused statement aborts a
// transaction open on the connection, inside one each step runs under a
// savepoint of its own; a statement that fails for its own reasons leaves
// the transaction aborted, as the text run as written would.
class PreparedStatements : public QObject {
    Q_OBJECT
public:
    static constexpr int kCapacity = 64;

    // The set of the session behind `db`, made on first use; it lives with
    // the host's connection, not with any one Connection.
    static PreparedStatements& of(const QSqlDatabase& db);

    // Prepares `statement` unless the session has it already. False when it
    // cannot be: the server refuses its parameterized form (remembered, and
    // the text should run as written), or the session fails it for some
    // other reason (then so will the text, with the server's own message).
    bool prepare(QSqlDatabase& db, const ParameterizedText& statement, bool inTransaction);

    // Executes `statement`, prepared before, in `query`, the reason of a
    // failure in query.lastError(). RunAsWritten: it could not be prepared
    // again after the session lost it, and the text should run as written.
    // Inside a transaction the rows are fetched at once, so that the
    // savepoint is released before they are read.
    enum class Outcome { Ran, Failed, RunAsWritten };
    Outcome execute(QSqlDatabase& db, QSqlQuery& query, const ParameterizedText& statement, bool inTransaction);

    // The error of the last preparation that failed for a reason the text
    // as written would meet as well (a lock wait run out, the session gone),
    // once: the statement then fails at once instead of waiting a second time.
    std::optional<QSqlError> takeBlocked() { return std::exchange(blocked_, std::nullopt); }

private:
    struct Entry {
        QString name;
        quint64 lastUse = 0;
        bool prepared = false;
        bool refused = false;
    };

    explicit PreparedStatements(QObject* driver) : QObject(driver) {}
    bool prepareEntry(QSqlDatabase& db, Entry& entry, const QString& text);
    void evictBeyondCapacity(QSqlDatabase& db, const QString& keep, bool inTransaction);

    QHash<QString, Entry> entries_; // by parameterized text
    bool sessionKeepsThem_ = true;
    std::optional<QSqlError> blocked_;
    quint64 clock_ = 0;
    int lastName_ = 0;
};

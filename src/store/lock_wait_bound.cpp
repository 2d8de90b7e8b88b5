#include "store/lock_wait_bound.h"

#include "store/connection.h"

#include <QSqlQuery>

namespace {

// The first value of a setting statement's first row; empty when it has
// none or fails (the connection gone).
QString firstValue(const QSqlDatabase& db, const QString& text)
{
    QSqlQuery query(db);
    return query.exec(text) && query.next() ? query.value(0).toString() : QString();
}

} // namespace

LockWaitBound::LockWaitBound(Connection* conn) : conn_(conn)
{
    if (!conn_ || conn_->lockWaitBounds_++ > 0 || conn_->lost())
        return;
    const QSqlDatabase db = conn_->database();
    switch (conn_->engine()) {
    case Engine::PostgreSQL:
        // '0' is PostgreSQL's "wait for ever"; a longer wait than the bound
        // is cut, a shorter one kept. Not local to a transaction: it must
        // hold for statements outside one too.
        restore_ = firstValue(db, QStringLiteral("select was, set_config('lock_timeout', '%1ms', false) from "
                                                 "(select current_setting('lock_timeout') as was) s "
                                                 "where was = '0' or was::interval > interval '%1 milliseconds'")
                                      .arg(kLockWaitMs));
        break;
    case Engine::SQLite: {
        // 0 makes SQLite fail at once: the host's choice, kept.
        const int was = firstValue(db, QStringLiteral("pragma busy_timeout")).toInt();
        if (was > kLockWaitMs) {
            restore_ = QString::number(was);
            QSqlQuery(db).exec(QStringLiteral("pragma busy_timeout = %1").arg(kLockWaitMs));
        }
        break;
    }
    case Engine::Other: break; // no setting of that engine is known here
    }
}

LockWaitBound::~LockWaitBound()
{
    if (!conn_ || --conn_->lockWaitBounds_ > 0)
        return;
    conn_->busyText_.clear();
    if (restore_.isEmpty())
        return;
    const QSqlDatabase db = conn_->database();
    QSqlQuery query(db);
    // Inside a transaction the host aborted, this fails; the host's rollback
    // then takes the setting back itself.
    if (conn_->engine() == Engine::PostgreSQL)
        query.exec(QStringLiteral("select set_config('lock_timeout', '%1', false)").arg(restore_));
    else
        query.exec(QStringLiteral("pragma busy_timeout = %1").arg(restore_));
}

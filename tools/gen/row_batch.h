#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QSqlError;

namespace gen {

// The database's description of a failed statement, with the statement.
QString describe(const QSqlError& error, const QString& statement);

// A statement of a write failed; thrown by RowBatch and run().
struct WriteFailure {
    QString description;
};

// Runs one statement; throws WriteFailure when it fails.
void run(QSqlDatabase db, const QString& statement);

// Rows of one table sent as multi-row inserts. SQLite allows 999
// placeholders per statement in older builds, so a batch stays below that.
// Table and column names are the writer's own constants, never input.
class RowBatch {
public:
    RowBatch(QSqlDatabase db, QString table, QStringList columns);

    void add(const QVariantList& row);
    // Sends the rows added since the last batch; throws WriteFailure.
    void flush();

private:
    void prepare(QSqlQuery& q);

    QSqlDatabase db_;
    QString table_;
    QStringList columns_;
    int rowsPerBatch_;
    int rows_ = 0;
    QVariantList values_;
    QSqlQuery full_;
    bool prepared_ = false;
};

} // namespace gen

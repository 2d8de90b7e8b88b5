#include "gen/row_batch.h"

#include "gen/gen_statements.h"

#include <QSqlError>
#include <algorithm>

namespace gen {

QString describe(const QSqlError& error, const QString& statement)
{
    return error.text().trimmed() + QStringLiteral(" in: ") + statement.left(200);
}

void run(QSqlDatabase db, const QString& statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        throw WriteFailure{describe(q.lastError(), statement)};
}

RowBatch::RowBatch(QSqlDatabase db, QString table, QStringList columns)
    : db_(std::move(db)), table_(std::move(table)), columns_(std::move(columns)),
      rowsPerBatch_(std::max(1, 900 / static_cast<int>(columns_.size())))
{}

void RowBatch::add(const QVariantList& row)
{
    values_ += row;
    if (++rows_ == rowsPerBatch_)
        flush();
}

void RowBatch::flush()
{
    if (rows_ == 0)
        return;
    const bool full = rows_ == rowsPerBatch_;
    QSqlQuery partial(db_);
    if (full && !prepared_) {
        full_ = QSqlQuery(db_);
        prepare(full_);
        prepared_ = true;
    }
    QSqlQuery& q = full ? full_ : partial;
    if (!full)
        prepare(q);
    for (const QVariant& v : values_)
        q.addBindValue(v);
    if (!q.exec())
        throw WriteFailure{describe(q.lastError(), q.lastQuery())};
    values_.clear();
    rows_ = 0;
}

void RowBatch::prepare(QSqlQuery& q)
{
    const QString text = sql::insertRows(table_, columns_, rows_);
    if (!q.prepare(text))
        throw WriteFailure{describe(q.lastError(), text)};
}

} // namespace gen

#include "gen/gen_statements.h"

namespace sql {

QString insertRows(const QString& table, const QStringList& columns, int rowCount)
{
    const QString group =
        QStringLiteral("(") + QStringList(columns.size(), QStringLiteral("?")).join(u',') + QStringLiteral(")");
    return QStringLiteral("insert into ") + table + QStringLiteral(" (") + columns.join(u',') +
           QStringLiteral(") values ") + QStringList(rowCount, group).join(u',');
}

QString deleteAllRows(const QString& table) { return QStringLiteral("delete from ") + table; }

QString countRows(const QString& table) { return QStringLiteral("select count(*) from ") + table; }

} // namespace sql

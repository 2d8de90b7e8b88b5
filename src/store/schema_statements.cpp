#include "store/schema_statements.h"

#include "store/value_text.h"

namespace sql {

namespace {

QString q(const QString& value) { return sqlEscaped(value); }

} // namespace

QString tablePresentSqlite(const QString& table)
{
    return QStringLiteral("select name from sqlite_master where type='table' and name='") + q(table) +
           QStringLiteral("'");
}

QString tablePresentPostgres(const QString& table)
{
    return QStringLiteral("select 1 where to_regclass('") + q(table) + QStringLiteral("') is not null");
}

QString columnPresentSqlite(const QString& table, const QString& column)
{
    return QStringLiteral("select name from pragma_table_info('") + q(table) + QStringLiteral("') where name='") +
           q(column) + QStringLiteral("'");
}

QString columnPresentPostgres(const QString& table, const QString& column)
{
    // to_regclass follows the search path as the control's own statements do.
    return QStringLiteral("select 1 from pg_attribute where attrelid=to_regclass('") + q(table) +
           QStringLiteral("') and attname='") + q(column) + QStringLiteral("' and not attisdropped");
}

} // namespace sql

#include "store/session_statements.h"

#include "store/value_text.h"

namespace sql {

namespace {

QString q(const QString& value) { return sqlEscaped(value); }

} // namespace

QString timetableEditLock(const QString& timetableId)
{
    constexpr int kSpace = 0x6B62747A; // "kbtz"
    return QStringLiteral("select pg_advisory_xact_lock(%1,hashtext(current_schema()||':'||'").arg(kSpace) +
           q(timetableId) + QStringLiteral("'))");
}

QString takeWriteLock() { return QStringLiteral("delete from kcb where 0=1"); }

QString timetableSchema()
{
    return QStringLiteral("select nspname from pg_class join pg_namespace on pg_namespace.oid=pg_class.relnamespace "
                          "where pg_class.oid=to_regclass('kcb')");
}

QString dataVersion() { return QStringLiteral("pragma data_version"); }

QString timetableRowsVersionPostgres()
{
    return QStringLiteral("select count(*) || '/' || coalesce(max(xmin::text::bigint), 0) from kcb");
}

} // namespace sql

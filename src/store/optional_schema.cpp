#include "store/optional_schema.h"

#include "store/connection.h"
#include "store/schema_statements.h"

namespace {

bool present(Connection& conn, const QString& sqliteText, const QString& postgresText)
{
    switch (conn.engine()) {
    case Engine::SQLite: return !conn.check(sqliteText).atEnd();
    case Engine::PostgreSQL: return !conn.check(postgresText).atEnd();
    case Engine::Other: break;
    }
    return false;
}

} // namespace

bool tablePresent(Connection& conn, const QString& table)
{
    return present(conn, sql::tablePresentSqlite(table), sql::tablePresentPostgres(table));
}

OptionalSchema findOptionalSchema(Connection& conn)
{
    OptionalSchema found;
    const QString weekday = QStringLiteral("星期");
    found.dayWeekday = present(conn, sql::columnPresentSqlite(QStringLiteral("sz_xn_rq"), weekday),
                               sql::columnPresentPostgres(QStringLiteral("sz_xn_rq"), weekday));
    found.changeLog = tablePresent(conn, QStringLiteral("kcb_log"));
    found.fetFiles =
        tablePresent(conn, QStringLiteral("kbtz_fet_file")) && tablePresent(conn, QStringLiteral("kbtz_fet_lesson"));
    return found;
}

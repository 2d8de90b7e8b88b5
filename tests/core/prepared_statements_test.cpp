#include "store/connection.h"
#include "store/control_error.h"
#include "store/prepared_statements.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

// The control's reads on a real server, around what a host may do to the
// session.
class PreparedStatementsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (postgresConninfo().isEmpty())
            GTEST_SKIP() << "no PostgreSQL server (KBTZ_PG_CONNINFO)";
        pg = std::make_unique<PgTempDb>();
        pg->exec("insert into kcb values ('L1','P1',2,3)");
    }

    QStringList read(Connection& conn, const QString& text)
    {
        QStringList ids;
        for (Recordset rs = conn.open(text, CursorType::Static, LockType::ReadOnly); !rs.atEnd(); rs.MoveNext())
            ids << rs.field(0).toString();
        return ids;
    }
    int held()
    {
        return pg->scalar("select count(*) from pg_prepared_statements where name like 'qx_mavowin_%'").toInt();
    }
    QStringList settings() { return pg->rows("select name, setting from pg_settings where source <> 'default'"); }

    std::unique_ptr<PgTempDb> pg;
};

TEST_F(PreparedStatementsTest, SurviveTheHostThrowingThemAwayAndLeaveItsSessionAsItWas)
{
    const QString path = QStringLiteral("set search_path to ") + pg->schema();
    const QString added = QStringLiteral("insert into kcb values ('L2','P1',1,1)");
    const struct {
        const char* name;
        QStringList host; // "reconnect" closes and opens the connection
        bool inTransaction;
    } cases[] = {
        {"discard all", {"discard all", path}, false},
        {"discard all, then a transaction", {"discard all", path, "begin", added}, true},
        {"deallocate all in a transaction", {"begin", added, "deallocate all"}, true},
        {"reconnect, then a transaction", {"reconnect", path, "begin", added}, true},
        {"a column added", {"alter table kcb add 备注 text"}, false},
        {"a column added in a transaction", {"begin", added, "alter table kcb add 备注2 text"}, true},
    };
    const QString text = QStringLiteral("select * from kcb where jxjh_id='P1' order by id");
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        pg->exec("delete from kcb where id='L2'");
        Connection conn(pg->db());
        conn.setTraceEnabled(true);
        EXPECT_EQ(read(conn, text), QStringList{"L1"});
        for (const QString& statement : k.host) {
            if (statement == QLatin1String("reconnect")) {
                pg->db().close();
                pg->db().open();
            } else {
                pg->exec(statement);
            }
        }
        const QStringList before = settings();
        EXPECT_EQ(read(conn, text), k.inTransaction ? QStringList({"L1", "L2"}) : QStringList{"L1"});
        EXPECT_EQ(settings(), before);
        EXPECT_EQ(held(), 1);
        EXPECT_EQ(conn.takeTrace().back().executed, "select * from kcb where jxjh_id=$1 order by id");
        if (k.inTransaction) {
            pg->exec("commit"); // fails when the transaction was aborted
            EXPECT_EQ(pg->scalar("select count(*) from kcb").toInt(), 2);
        }
    }
}

TEST_F(PreparedStatementsTest, HoldNoMoreThanTheirCapacityOutsideATransaction)
{
    Connection conn(pg->db());
    auto readAt = [&](int period) {
        read(conn, QStringLiteral("select id from kcb where 课节=%1 and id='L1'").arg(period));
    };
    const int capacity = PreparedStatements::kCapacity;
    for (int period = 0; period < capacity + 5; ++period)
        readAt(period);
    EXPECT_EQ(held(), capacity);
    pg->exec("begin");
    for (int period = 100; period < 103; ++period)
        readAt(period);
    EXPECT_EQ(held(), capacity + 3);
    pg->exec("commit");
    readAt(200);
    EXPECT_EQ(held(), capacity);
}

// A text whose parameters the server cannot type runs as written, and does
// not abort the host's transaction; a statement that fails for its own
// reason fails with the server's message for the text as written.
TEST_F(PreparedStatementsTest, RefusedTextsRunAsWrittenAndFailuresAreTheTextsOwn)
{
    Connection conn(pg->db());
    conn.setTraceEnabled(true);
    pg->exec("begin");
    EXPECT_EQ(read(conn, "select 'x' is null"), QStringList{"false"});
    EXPECT_TRUE(conn.takeTrace().back().executed.isEmpty());
    pg->exec("commit");
    EXPECT_EQ(held(), 0);

    const QString duplicate = QStringLiteral("insert into kcb values ('L1','P1',1,1)");
    Connection plain(pg->db());
    plain.setPostgresEquivalents(false);
    auto failure = [&](Connection& c) {
        try {
            c.execute(duplicate);
        } catch (const DbError& e) {
            return e.description();
        }
        return QString();
    };
    const QString expected = failure(plain);
    EXPECT_FALSE(expected.isEmpty());
    EXPECT_EQ(failure(conn), expected);
}

} // namespace

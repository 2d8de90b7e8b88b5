#include "store/connection.h"
#include "store/control_error.h"
#include "store/value_text.h"
#include "support/small_school.h"
#include "support/temp_db.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { insertSmallSchool(db); }
    TempDb db;
};

TEST_F(StoreTest, RecordsetWalksRowsAndReportsFieldsByNameOrPosition)
{
    Connection conn(db.db());
    Recordset rs =
        conn.open("select id, 星期 from kcb where 课节>0 order by id", CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(joinText(rs.field(0)), "L1");
    EXPECT_EQ(joinText(rs.field("星期")), "1");
    EXPECT_EQ(joinText(rs.field("ID")), "L1");
    EXPECT_THROW(rs.field("nope"), ControlError);
    EXPECT_THROW(rs.field(2), ControlError);
    int n = 1;
    for (rs.MoveNext(); !rs.atEnd(); rs.MoveNext())
        ++n;
    EXPECT_EQ(n, 6);
    EXPECT_THROW(rs.field(0), ControlError);

    Recordset none = conn.open("select * from kcb where id='none'", CursorType::Static, LockType::ReadOnly);
    EXPECT_TRUE(none.atEnd());

    // The trace records what was sent and how, only when switched on.
    EXPECT_TRUE(conn.trace().empty());
    conn.setTraceEnabled(true);
    conn.open("select 2", CursorType::Dynamic, LockType::Optimistic, CursorLocation::Client);
    conn.execute("update kcb set 星期=1 where id='none'");
    const auto trace = conn.takeTrace();
    ASSERT_EQ(trace.size(), 2u);
    EXPECT_EQ(std::tuple(trace[0].op, trace[0].cursorType, trace[0].lockType, trace[0].cursorLocation),
              std::tuple(TraceEntry::Op::Open, CursorType::Dynamic, LockType::Optimistic, CursorLocation::Client));
    EXPECT_EQ(trace[1].op, TraceEntry::Op::Execute);
    EXPECT_EQ(trace[1].text, "update kcb set 星期=1 where id='none'");
    EXPECT_TRUE(conn.trace().empty());
}

TEST_F(StoreTest, FailuresCarryTheDatabaseDescriptionOrComeFromTheFaultHook)
{
    Connection conn(db.db());
    try {
        conn.open("select * from no_such_table", CursorType::Static, LockType::ReadOnly);
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.description().contains("no_such_table")) << e.what();
    }
    try {
        conn.execute("select max(cint('abc'))");
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.description().contains("cint")) << e.what();
    }
    // The fault hook fails a statement before it runs.
    conn.setFaultHook([](const TraceEntry& e) {
        if (e.text.startsWith("delete"))
            throw DbError("injected");
    });
    EXPECT_THROW(conn.execute("delete from kcb"), DbError);
    EXPECT_EQ(db.scalar("select count(*) from kcb").toInt(), 6);
}

// A unit holds the file's write lock from its start, so that another desk
// cannot commit between an edit's checks and its writes; also inside a
// transaction of the host's, where it is a savepoint.
TEST_F(StoreTest, WriteUnitRollsBackUnlessCommittedNestsInTheHostsTransactionAndHoldsTheWriteLock)
{
    Connection conn(db.db());
    QSqlQuery other(db.openSecond());
    ASSERT_TRUE(other.exec("pragma busy_timeout = 0"));
    auto remove = [&](const QString& id, bool commit) {
        WriteUnit unit(conn, "X1");
        EXPECT_FALSE(other.exec("begin immediate")) << "another desk took the write lock";
        conn.execute("delete from kcb where id='" + id + "'");
        if (commit)
            unit.commit();
    };
    remove("L1", false);
    EXPECT_EQ(db.scalar("select count(*) from kcb").toInt(), 6);
    remove("L1", true);
    EXPECT_EQ(db.scalar("select count(*) from kcb").toInt(), 5);

    // The host has a transaction open: the unit is a savepoint inside it.
    ASSERT_TRUE(db.db().transaction());
    remove("L2", false);
    EXPECT_TRUE(conn.inTransaction());
    EXPECT_EQ(db.scalar("select count(*) from kcb").toInt(), 5);
    remove("L2", true);
    EXPECT_TRUE(conn.inTransaction());
    ASSERT_TRUE(db.db().rollback());
    EXPECT_EQ(db.scalar("select count(*) from kcb").toInt(), 5);
    EXPECT_TRUE(other.exec("begin immediate"));
    EXPECT_TRUE(other.exec("rollback"));
}

} // namespace

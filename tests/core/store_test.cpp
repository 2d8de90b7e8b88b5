#include "store/connection.h"
#include "store/control_error.h"
#include "store/statements.h"
#include "store/value_text.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.execAll({
            "insert into sz_xn values ('X1','2005-2006','2','课表')",
            "insert into sz_xn values ('X2','2005-2006','1','课表')",
            "insert into info_bj values ('B1','高一1班','高一','高中','理')",
            "insert into info_js values ('T1','张三','ZS','数学组')",
            "insert into info_kc values ('K1','数学','数')",
            "insert into info_kc values ('K2','语文','语')",
            "insert into info_jxjh values ('P1','X1','B1','T1','K1',3)",
            "insert into info_jxjh values ('P2','X1','B1','T1','K2',3)",
            "insert into info_jxjh values ('P3','X2','B1','T1','K1',2)",
            "insert into kcb values ('L1','P1',1,1)",
            "insert into kcb values ('L2','P1',2,3)",
            "insert into kcb values ('L3','P1',0,0)",
            "insert into kcb values ('L4','P2',4,2)",
            "insert into kcb values ('L5','P2',5,2)",
            "insert into sz_kc values ('X1','K2','1:1/',5,0,null)",
        });
    }
    TempDb db;
};

TEST_F(StoreTest, PlanViewCountsEveryLessonAndDefaultsItsSettings)
{
    for (int dataType : {1, 2}) {
        Connection conn(db.db());
        Recordset rs = conn.open(sql::planListFill(sql::planView(dataType, "X1"), " bj_id='B1' "), CursorType::Static,
                                 LockType::ReadOnly, CursorLocation::Client);
        // P1 has three lessons (one at period 0) for three hours: not in the view.
        ASSERT_FALSE(rs.atEnd());
        EXPECT_EQ(joinText(rs.field("id")), "P2");
        EXPECT_EQ(joinText(rs.field("剩余课时")), "1");
        EXPECT_EQ(joinText(rs.field("lp")), "0");
        EXPECT_EQ(joinText(rs.field("bs")), "1000");
        EXPECT_EQ(joinText(rs.field("lj")), "1000");
        EXPECT_EQ(joinText(rs.field("kc")), "1:1/");
        EXPECT_TRUE(rs.field("js").isNull());
        EXPECT_EQ(joinText(rs.field("课程名")), "语文");
        rs.MoveNext();
        EXPECT_TRUE(rs.atEnd());
    }
}

TEST_F(StoreTest, PeriodCountRunsThroughCintAndGivesNullWithoutDaySettings)
{
    Connection conn(db.db());
    auto maxs = [&] {
        Recordset rs = conn.open(sql::periodCount(1, "2005-2006", "2", "课表"), CursorType::Static, LockType::ReadOnly);
        return rs.field("maxs");
    };
    EXPECT_TRUE(maxs().isNull());
    db.execAll({"insert into sz_xn_rq values ('X1',1,'4','4','0')", "insert into sz_xn_rq values ('X1',2,' 5','3.5',null)",
                "insert into sz_xn_rq values ('X1',3,'4','4','1')"});
    // cint rounds halves to even (3.5 -> 4); a null evening drops its row from the sum.
    EXPECT_EQ(joinText(maxs()), "9");
}

TEST_F(StoreTest, RecordsetWalksRowsAndReportsFieldsByNameOrPosition)
{
    Connection conn(db.db());
    Recordset rs = conn.open("select id, 星期 from kcb where 课节>0 order by id", CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(joinText(rs.field(0)), "L1");
    EXPECT_EQ(joinText(rs.field("星期")), "1");
    EXPECT_EQ(joinText(rs.field("ID")), "L1");
    EXPECT_THROW(rs.field("nope"), ControlError);
    EXPECT_THROW(rs.field(2), ControlError);
    int n = 1;
    for (rs.MoveNext(); !rs.atEnd(); rs.MoveNext())
        ++n;
    EXPECT_EQ(n, 4);
    EXPECT_THROW(rs.field(0), ControlError);

    Recordset none = conn.open("select * from kcb where id='none'", CursorType::Static, LockType::ReadOnly);
    EXPECT_TRUE(none.atEnd());
    EXPECT_NO_THROW(conn.execute("update kcb set 星期=1 where id='none'"));
}

TEST_F(StoreTest, FailuresCarryTheDatabaseDescription)
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
}

TEST_F(StoreTest, TraceRecordsWhatWasSentAndHowOnlyWhenSwitchedOn)
{
    Connection conn(db.db());
    conn.open("select 1", CursorType::Static, LockType::ReadOnly);
    EXPECT_TRUE(conn.trace().empty());
    conn.setTraceEnabled(true);
    conn.open("select 2", CursorType::Dynamic, LockType::Optimistic, CursorLocation::Client);
    conn.execute("delete from kcb where id='none'");
    const auto trace = conn.takeTrace();
    ASSERT_EQ(trace.size(), 2u);
    EXPECT_EQ(trace[0].op, TraceEntry::Op::Open);
    EXPECT_EQ(trace[0].cursorType, CursorType::Dynamic);
    EXPECT_EQ(trace[0].lockType, LockType::Optimistic);
    EXPECT_EQ(trace[0].cursorLocation, CursorLocation::Client);
    EXPECT_EQ(trace[1].op, TraceEntry::Op::Execute);
    EXPECT_EQ(trace[1].text, "delete from kcb where id='none'");
    EXPECT_TRUE(conn.trace().empty());
}

TEST_F(StoreTest, WriteUnitRollsBackUnlessCommittedAndNestsInTheHostsTransaction)
{
    Connection conn(db.db());
    {
        WriteUnit unit(conn);
        conn.execute("delete from kcb where id='L1'");
    }
    EXPECT_EQ(db.scalar("select count(*) from kcb").toInt(), 5);
    {
        WriteUnit unit(conn);
        conn.execute("delete from kcb where id='L1'");
        unit.commit();
    }
    EXPECT_EQ(db.scalar("select count(*) from kcb").toInt(), 4);

    // The host has a transaction open: the unit is a savepoint inside it.
    ASSERT_TRUE(db.db().transaction());
    EXPECT_TRUE(conn.inTransaction());
    {
        WriteUnit unit(conn);
        conn.execute("delete from kcb where id='L2'");
    }
    EXPECT_TRUE(conn.inTransaction());
    EXPECT_EQ(db.scalar("select count(*) from kcb").toInt(), 4);
    {
        WriteUnit unit(conn);
        conn.execute("delete from kcb where id='L2'");
        unit.commit();
    }
    EXPECT_TRUE(conn.inTransaction());
    ASSERT_TRUE(db.db().rollback());
    EXPECT_EQ(db.scalar("select count(*) from kcb").toInt(), 4);
}

TEST_F(StoreTest, FaultHookMakesAStatementFailBeforeItRuns)
{
    Connection conn(db.db());
    conn.setFaultHook([](const TraceEntry& e) {
        if (e.text.startsWith("delete"))
            throw DbError("injected");
    });
    EXPECT_THROW(conn.execute("delete from kcb"), DbError);
    EXPECT_EQ(db.scalar("select count(*) from kcb").toInt(), 5);
}

} // namespace

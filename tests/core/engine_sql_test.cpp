// The statement texts of the Access/Jet dialect on every engine at hand.
#include "store/connection.h"
#include "store/statements.h"
#include "store/value_text.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

class EngineSql : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        db = makeTestDatabase(GetParam());
        db->execAll({
            "insert into sz_xn values ('X1','2005-2006','2','课表')",
            "insert into sz_xn_rq values ('X1',1,'4','4','0')",
            "insert into sz_xn_rq values ('X1',2,'4','3','0')",
            "insert into info_bj values ('B1','高一(1)班','高一','高中','理')",
            "insert into info_js values ('T1','张三','ZS','数学组')",
            "insert into info_kc values ('K1','数学','数')",
            "insert into info_jxjh values ('P1','X1','B1','T1','K1',4)",
            "insert into info_jxjh values ('P2','X1','B1',null,'K9',1)",
            "insert into kcb values ('L1','P1',1,1)",
            "insert into sz_js values ('X1','T1','1:2/',1)",
            "insert into sz_kc values ('X1','K1',null,3,0,2)",
        });
    }
    std::unique_ptr<TestDatabase> db;
};

TEST_P(EngineSql, PeriodCountAndPlanViewRunUnchanged)
{
    Connection conn(db->db());
    Recordset count = conn.open(sql::periodCount(1, "2005-2006", "2", "课表"), CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(leadingNumber(joinText(count.field("maxs"))), 8);

    Recordset rs = conn.open(sql::planListFill(sql::planView(1, "X1"), sql::classPlanCondition("B1")) + " order by id",
                             CursorType::Static, LockType::ReadOnly, CursorLocation::Client);
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(joinText(rs.field("id")), "P1");
    EXPECT_EQ(joinText(rs.field("剩余课时")), "3");
    EXPECT_EQ(joinText(rs.field("lp")), "1");
    EXPECT_EQ(joinText(rs.field("bs")), "1000");
    EXPECT_EQ(joinText(rs.field("lj")), "2");
    EXPECT_EQ(joinText(rs.field("js")), "1:2/");
    EXPECT_EQ(joinText(rs.field("优先级")), "3");
    rs.MoveNext();
    // A plan item whose teacher and course are missing is still listed.
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(joinText(rs.field("id")), "P2");
    EXPECT_EQ(joinText(rs.field("姓名")), "");
    EXPECT_EQ(joinText(rs.field("lp")), "0");
}

TEST_P(EngineSql, GridFillAndClashSetRun)
{
    Connection conn(db->db());
    Recordset fill = conn.open(sql::gridFill("X1", sql::classFilter("B1")), CursorType::Static, LockType::ReadOnly);
    ASSERT_FALSE(fill.atEnd());
    EXPECT_EQ(joinText(fill.field("kcb_id")), "L1");
    EXPECT_EQ(joinText(fill.field("课程简称")), "数");
    EXPECT_EQ(joinText(fill.field("姓名")), "张三");
    EXPECT_EQ(joinText(fill.field("班级")), "高一(1)班");

    Recordset clash = conn.open(sql::clashSet("X1", "B1", "T1", sql::positionCondition(1, 1)), CursorType::Static,
                                LockType::ReadOnly);
    ASSERT_FALSE(clash.atEnd());
    EXPECT_EQ(joinText(clash.field("星期")), "1");
    EXPECT_EQ(joinText(clash.field("课节")), "1");

    conn.execute(sql::insertLesson("{n}", "P1", 3, 5));
    EXPECT_EQ(db->rows("select 星期, 课节 from kcb where id='{n}'"), QStringList{"3|5"});
    Recordset slot = conn.open(sql::classLessonAtSlot("X1", "B1", 3, 5), CursorType::Dynamic, LockType::Optimistic);
    EXPECT_EQ(joinText(slot.field("id")), "{n}");
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineSql, ::testing::ValuesIn(availableEngines()),
                         [](const auto& info) { return engineName(info.param); });

} // namespace

// The SQL Server dialect (S_DataType 0). No SQL Server runs here: its texts
// are checked piece by piece, and the plan view, which uses only standard
// constructs in this dialect, also runs on every engine at hand.
#include "control/qx_mavowin.h"
#include "drive/driver.h"
#include "store/connection.h"
#include "store/statements.h"
#include "store/value_text.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

const QString kSqlServerPlanView = QStringLiteral(
    " (select * from (select temm.id,temm.bj_id,temm.js_id,temm.kc_id,temm.每周课时,temm.剩余课时,sz_js.不排课节 as js,"
    "sz_bj.不排课节 as bj,sz_kc.不排课节 as kc,sz_kc.优先级,"
    "sz_jxjh.不排课节 as jxjh,case when sz_js.是否连排 is null then 0 else sz_js.是否连排 end as lp,"
    "case when 同时排班数=0 or 同时排班数 is null then 1000 else 同时排班数 end as bs,"
    "case when 连上节数=0 or 连上节数 is null then 1000 else 连上节数 end as lj,文理类型,姓名,课程名,班级,级别,教研组,年级 "
    "from (select info_jxjh.*,文理类型,info_js.教研组,年级,姓名,课程名,班级,级别,每周课时-case when con is null then 0 else con end as 剩余课时 from info_jxjh  left join "
    "info_bj on info_bj.id=info_jxjh.bj_id left join info_kc on info_kc.id=info_jxjh.kc_id left join info_js on "
    "info_js.id=info_jxjh.js_id left join "
    "(select jxjh_id,count(*) as con from kcb group by jxjh_id) as tem "
    "on info_jxjh.id=jxjh_id where 每周课时-case when con is null then 0 else con end>0) as temm left join "
    " sz_js  on temm.xn_id=sz_js.xn_id and sz_js.js_id=temm.js_id  left join "
    "sz_kc  on temm.xn_id=sz_kc.xn_id and sz_kc.kc_id=temm.kc_id  left join "
    " sz_bj   on temm.xn_id=sz_bj.xn_id and sz_bj.bj_id=temm.bj_id  left join "
    "sz_jxjh  on sz_jxjh.jxjh_id=temm.id where temm.xn_id='");

TEST(SqlServerDialect, PlanViewIsTheFourteenPiecesThenTheTimetableId)
{
    EXPECT_EQ(sql::planView(0, QStringLiteral("XN1")), kSqlServerPlanView + QStringLiteral("XN1') as tt) as pp "));
    EXPECT_EQ(sql::planView(0, QStringLiteral("X'1")), kSqlServerPlanView + QStringLiteral("X''1') as tt) as pp "));
    EXPECT_NE(sql::planView(1, QStringLiteral("XN1")), sql::planView(0, QStringLiteral("XN1")));
}

// Start-up with S_DataType 0 sends the SQL Server period count and keeps the
// SQL Server plan view; every other statement is the same in both dialects.
TEST(SqlServerDialect, StartUpUsesTheSqlServerTexts)
{
    TempDb db;
    db.execAll({"insert into sz_xn values ('X1','2005-2006','2','课表')",
                "insert into info_bj values ('B1','1班','高一','高中','理')"});
    for (int dataType : {0, 1}) {
        QX_MavoWin control;
        HostWindow host;
        std::vector<TraceEntry> sent;
        control.setConnectionSetup([&](Connection& c) {
            c.setFaultHook([&](const TraceEntry& e) { sent.push_back(e); });
        });
        try {
            control.QxIni(db.db(), "2005-2006", "2", "课表", &host, static_cast<qint16>(dataType));
        } catch (const std::exception&) {
            // SQLite has no convert(numeric, ...): the SQL Server period
            // count fails here, as a wrong dialect fails on a real server.
            EXPECT_EQ(dataType, 0);
        }
        EXPECT_EQ(control.context().PlanViewSql, sql::planView(dataType, "X1"));
        ASSERT_GE(sent.size(), 2u);
        EXPECT_EQ(sent[0].text, sql::findTimetable("2005-2006", "2", "课表"));
        EXPECT_EQ(sent[1].text, sql::periodCount(dataType, "2005-2006", "2", "课表"));
        EXPECT_EQ(sent[1].text.contains("convert(numeric,"), dataType == 0);
    }
}

class SqlServerPlanView : public ::testing::TestWithParam<TestEngine> {};

TEST_P(SqlServerPlanView, RunsUnchangedAndAgreesWithTheAccessJetView)
{
    auto db = makeTestDatabase(GetParam());
    db->execAll({
        "insert into sz_xn values ('X1','2005-2006','2','课表')",
        "insert into info_bj values ('B1','1班','高一','高中','理')",
        "insert into info_js values ('T1','张三','ZS','数学组')",
        "insert into info_kc values ('K1','数学','数')",
        "insert into info_jxjh values ('P1','X1','B1','T1','K1',3)",
        "insert into info_jxjh values ('P2','X1','B1',null,'K9',2)",
        "insert into info_jxjh values ('P3','X1','B1','T1','K1',1)",
        "insert into kcb values ('L1','P1',1,1)",
        "insert into kcb values ('L2','P3',1,2)",
        "insert into sz_js values ('X1','T1','1:2/',1)",
        "insert into sz_kc values ('X1','K1',null,3,0,2)",
    });
    Connection conn(db->db());
    auto rows = [&](int dataType) {
        Recordset rs = conn.open(sql::planListFill(sql::planView(dataType, "X1"), sql::classPlanCondition("B1")) + " order by id",
                                 CursorType::Static, LockType::ReadOnly, CursorLocation::Client);
        QStringList out;
        for (; !rs.atEnd(); rs.MoveNext())
            out << QStringList{joinText(rs.field("id")), joinText(rs.field("剩余课时")), joinText(rs.field("lp")),
                               joinText(rs.field("bs")), joinText(rs.field("lj")), joinText(rs.field("js"))}
                       .join(u'|');
        return out;
    };
    EXPECT_EQ(rows(0), (QStringList{"P1|2|1|1000|2|1:2/", "P2|2|0|1000|1000|"}));
    EXPECT_EQ(rows(0), rows(1));
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlServerPlanView, ::testing::ValuesIn(availableEngines()),
                         [](const auto& info) { return engineName(info.param); });

} // namespace

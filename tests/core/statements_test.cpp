// The statement texts of both dialects, and the Access/Jet and SQL Server
// plan views run on every engine at hand. No SQL Server runs here: the plan
// view of that dialect uses only standard constructs.
#include "qxmavowin/host_window.h"
#include "control/qx_mavowin.h"
#include "store/adjust_statements.h"
#include "store/analysis_statements.h"
#include "store/connection.h"
#include "store/grid_statements.h"
#include "store/plan_statements.h"
#include "store/timetable_statements.h"
#include "store/value_text.h"
#include "support/small_school.h"
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

TEST(PlanViewText, SqlServerIsTheFixedTextAndAccessJetUsesIifAndNestedJoins)
{
    EXPECT_EQ(sql::planView(0, "XN1"), kSqlServerPlanView + QStringLiteral("XN1') as tt) as pp "));
    EXPECT_EQ(sql::planView(0, "X'1"), kSqlServerPlanView + QStringLiteral("X''1') as tt) as pp "));
    for (int dataType : {1, 2, -1}) {
        const QString view = sql::planView(dataType, QStringLiteral("XN1"));
        EXPECT_EQ(view.count(QStringLiteral("iif(")), 5) << dataType;
        EXPECT_EQ(view.count(QStringLiteral("case when")), 0);
        for (const char* nested : {"from ((((select info_jxjh.*", " from (((info_jxjh  left join ",
                                   " sz_bj   on temm.xn_id=sz_bj.xn_id and sz_bj.bj_id=temm.bj_id)  left join "})
            EXPECT_TRUE(view.contains(QString::fromUtf8(nested))) << nested;
    }
    EXPECT_TRUE(
        sql::planView(1, QString())
            .endsWith(QStringLiteral("sz_jxjh  on sz_jxjh.jxjh_id=temm.id where temm.xn_id='') as tt) as pp ")));
    EXPECT_TRUE(sql::planView(1, "it's").endsWith(QStringLiteral("temm.xn_id='it''s') as tt) as pp ")));
}

TEST(StatementTexts, AreTheFixedTextsWithEverySingleQuoteOfAValueDoubled)
{
    const std::pair<QString, const char*> cases[] = {
        {sql::periodCount(0, "2005-2006", "2", "课表"),
         "select max(convert(numeric,上午)+convert(numeric,下午)+convert(numeric,晚上)) as maxs from "
         "sz_xn_rq,sz_xn where sz_xn_rq.xn_id=sz_xn.id and  学年='2005-2006' and 学期='2' and 排课名称='课表'"},
        {sql::periodCount(1, "2005-2006", "2", "课表"),
         "select max(cint(上午)+cint(下午)+cint(晚上)) as maxs from sz_xn_rq,sz_xn where "
         "sz_xn_rq.xn_id=sz_xn.id and  学年='2005-2006' and 学期='2' and 排课名称='课表'"},
        {sql::selectorFill("id,班级", "info_bj", sql::levelCondition("高中") + sql::gradeCondition(""), "班级"),
         "select distinct id,班级 from info_bj where  级别='高中'  and 1=1  order by 班级"},
        {sql::selectorFill("年级", "info_bj", " 1=1 ", ""), "select distinct 年级 from info_bj where  1=1 "},
        {sql::insertLesson("{a}", "P1", 3, 5), "insert into kcb (id,jxjh_id,星期,课节) values ('{a}','P1','3','5')"},
        {sql::classLessonAtSlot("X", "B", 2, 4),
         "select kcb.id from kcb left join info_jxjh on kcb.jxjh_id=info_jxjh.id where xn_id='X' and bj_id='B' and  "
         "星期=2 and 课节=4"},
        {sql::moveLesson(3, 5, "L1"), "update kcb set 星期=3,课节=5 where id='L1'"},
        {sql::clashSet("X", "B", "T", sql::positionCondition(1, 3)),
         "select * from kcb left join info_jxjh on kcb.jxjh_id=info_jxjh.id where (xn_id='X' and bj_id='B' and js_id in "
         "(select js_id from kcb left join info_jxjh on kcb.jxjh_id=info_jxjh.id where  星期=1 and 课节=3 and xn_id='X')) "
         "or (js_id='T' and xn_id='X')"},
        {sql::teacherSettings("T", "X"), "select * from sz_js where js_id='T' and xn_id='X'"},
        {sql::gridFill("X", sql::classFilter("B")).right(107),
         "where info_jxjh.xn_id='X') as info_jxjh on kcb.jxjh_id=info_jxjh.id where bj_id='B' and 课节>0 order by 星期,课节"},
        {sql::findTimetable("O'Neil", "2", "a''b"),
         "select * from sz_xn where 学年='O''Neil' and 学期='2' and 排课名称='a''''b'"},
        {sql::levelCondition("x' or '1'='1"), " 级别='x'' or ''1''=''1' "},
        {sql::deleteLesson("a'); drop table kcb; --"), "delete from kcb where id='a''); drop table kcb; --'"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(text, QString::fromUtf8(expected));
}

// Start-up with S_DataType 0 sends the SQL Server period count and keeps the
// SQL Server plan view.
TEST(SqlServerDialect, StartUpUsesTheSqlServerTexts)
{
    TempDb db;
    insertSmallSchool(db);
    for (int dataType : {0, 1}) {
        QX_MavoWin control;
        HostWindow host;
        std::vector<TraceEntry> sent;
        control.setConnectionSetup(
            [&](Connection& c) { c.setFaultHook([&](const TraceEntry& e) { sent.push_back(e); }); });
        try {
            control.QxIni(db.db(), "2005-2006", "2", "课表", &host, static_cast<qint16>(dataType));
        } catch (const std::exception&) {
            // SQLite has no convert(numeric, ...): the SQL Server period
            // count fails here, as a wrong dialect fails on a real server.
            EXPECT_EQ(dataType, 0);
        }
        EXPECT_EQ(control.context().PlanViewSql, sql::planView(dataType, "X1"));
        ASSERT_EQ(sent.size(), dataType == 0 ? 2u : 5u);
        EXPECT_EQ(sent[0].text, sql::findTimetable("2005-2006", "2", "课表"));
        EXPECT_EQ(sent[1].text, sql::periodCount(dataType, "2005-2006", "2", "课表"));
    }
}

class EngineSql : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        db = makeTestDatabase(GetParam());
        insertSmallSchool(*db);
        db->execAll({
            "insert into sz_xn values ('X2','2005-2006','1','课表')",
            "insert into info_jxjh values ('P6','X1','B1',null,'K9',1)", // teacher and course missing
            "insert into info_jxjh values ('P7','X1','B1','T1','K1',1)", // its hour used at period 0
            "insert into info_jxjh values ('P8','X2','B1','T1','K1',2)", // another timetable
            "insert into kcb values ('L7','P7',0,0)",
            "insert into sz_js values ('X1','T1','1:2/',1)",
            "insert into sz_kc values ('X1','K1',null,3,0,2)",
            "insert into sz_kc values ('X1','K2','1:1/',5,0,null)",
        });
    }
    // The rows of a query, each its fields' texts joined by "|", the rows by blanks.
    std::string rows(const QString& query, const QStringList& fields)
    {
        Recordset rs = conn->open(query, CursorType::Static, LockType::ReadOnly, CursorLocation::Client);
        QStringList out;
        for (; !rs.atEnd(); rs.MoveNext()) {
            QStringList values;
            for (const QString& f : fields)
                values << joinText(rs.field(f));
            out << values.join(u'|');
        }
        return out.join(u' ').toStdString();
    }
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<Connection> conn;
};

TEST_P(EngineSql, PlanViewsOfBothDialectsCountEveryLessonAndDefaultTheSettings)
{
    conn = std::make_unique<Connection>(db->db());
    const QStringList fields{"id", "剩余课时", "lp", "bs", "lj", "js", "kc", "优先级", "姓名"};
    const std::string expected = "P1|3|1|1000|2|1:2/||3|A张 P2|4|0|1000|1000||1:1/|5|B李 P5|1|0|1000|1000||||C王 "
                                 "P6|1|0|1000|1000||||";
    for (int dataType : {0, 1, 2})
        EXPECT_EQ(rows(sql::planListFill(sql::planView(dataType, "X1"), sql::classPlanCondition("B1")) + " order by id",
                       fields),
                  expected)
            << dataType;
}

TEST_P(EngineSql, PeriodCountGridFillClashSetAndLessonWritesRun)
{
    conn = std::make_unique<Connection>(db->db());
    const QString count = sql::periodCount(1, "2005-2006", "2", "课表");
    EXPECT_EQ(rows(count, {"maxs"}), "8");
    EXPECT_EQ(rows(sql::periodCount(1, "2005-2006", "1", "课表"), {"maxs"}), ""); // no day settings
    db->execAll(
        {"insert into sz_xn_rq values ('X1',2,' 5','3.5',null)", "insert into sz_xn_rq values ('X1',3,'4','4','1')"});
    // cint rounds halves to even (3.5 -> 4); a null evening drops its row from the sum.
    EXPECT_EQ(rows(count, {"maxs"}), "9");

    EXPECT_EQ(rows(sql::gridFill("X1", sql::classFilter("B1")), {"kcb_id", "星期", "课节", "课程简称", "姓名", "班级"}),
              "L3|1|1|语|B李|1班 L1|1|3|数|A张|1班 L5|3|2|数|A张|1班 L6|4|4|英|C王|1班");
    // The class's lessons of every teacher busy at Monday 3 (T1, T3), and T1's lessons.
    QStringList clash;
    for (Recordset rs = conn->open(sql::clashSet("X1", "B1", "T1", sql::positionCondition(1, 3)), CursorType::Static,
                                   LockType::ReadOnly);
         !rs.atEnd(); rs.MoveNext())
        clash << joinText(rs.field(0));
    clash.sort();
    EXPECT_EQ(clash.join(u' ').toStdString(), "L1 L2 L5 L6 L7");

    conn->execute(sql::insertLesson("{n}", "P2", 3, 5));
    Recordset slot = conn->open(sql::classLessonAtSlot("X1", "B1", 3, 5), CursorType::Dynamic, LockType::Optimistic);
    EXPECT_EQ(joinText(slot.field("id")), "{n}");
    conn->execute(sql::moveLesson(6, 1, "{n}"));
    conn->execute(sql::deleteLesson("L1"));
    EXPECT_EQ(db->rows("select id,星期,课节 from kcb where id in ('{n}','L1')"), QStringList{"{n}|6|1"});
}

KBTZ_ON_EVERY_ENGINE(EngineSql);

} // namespace

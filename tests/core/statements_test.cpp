#include "store/statements.h"

#include <gtest/gtest.h>

namespace {

int count(const QString& text, const QString& what) { return static_cast<int>(text.count(what)); }

TEST(PlanViewText, SqlServerUsesCaseWhenAndEndsWithTheTimetableId)
{
    const QString view = sql::planView(0, QStringLiteral("XN1"));
    EXPECT_TRUE(view.startsWith(QStringLiteral(" (select * from (select temm.id,")));
    EXPECT_TRUE(view.endsWith(QStringLiteral("where temm.xn_id='XN1') as tt) as pp ")));
    const qsizetype inner = view.indexOf(QStringLiteral("from (select info_jxjh.*"));
    ASSERT_GT(inner, 0);
    EXPECT_EQ(count(view.left(inner), QStringLiteral("case when")), 3);
    EXPECT_EQ(count(view.mid(inner), QStringLiteral("case when")), 2);
    EXPECT_EQ(count(view, QStringLiteral("iif(")), 0);
    EXPECT_TRUE(view.contains(QStringLiteral("on info_jxjh.id=jxjh_id where")));
}

TEST(PlanViewText, AccessJetUsesIifAndNestedJoins)
{
    for (int dataType : {1, 2, -1}) {
        const QString view = sql::planView(dataType, QStringLiteral("XN1"));
        EXPECT_EQ(count(view, QStringLiteral("iif(")), 5) << dataType;
        EXPECT_EQ(count(view, QStringLiteral("case when")), 0);
        EXPECT_TRUE(view.contains(QStringLiteral("from ((((select info_jxjh.*")));
        EXPECT_TRUE(view.contains(QStringLiteral(" from (((info_jxjh  left join ")));
        EXPECT_TRUE(view.contains(QStringLiteral("on info_jxjh.id=tem.jxjh_id where")));
        EXPECT_TRUE(view.contains(QStringLiteral(" sz_bj   on temm.xn_id=sz_bj.xn_id and sz_bj.bj_id=temm.bj_id)  left join ")));
    }
}

TEST(PlanViewText, EmptyTimetableIdClosesTheLiteralAtOnce)
{
    EXPECT_TRUE(sql::planView(1, QString())
                    .endsWith(QStringLiteral("sz_jxjh  on sz_jxjh.jxjh_id=temm.id where temm.xn_id='') as tt) as pp ")));
}

TEST(PeriodCountText, BothDialectsKeepTheDoubleBlankBeforeTheYear)
{
    EXPECT_EQ(sql::periodCount(0, "2005-2006", "2", "课表"),
              QStringLiteral("select max(convert(numeric,上午)+convert(numeric,下午)+convert(numeric,晚上)) as maxs from "
                             "sz_xn_rq,sz_xn where sz_xn_rq.xn_id=sz_xn.id and  学年='2005-2006' and 学期='2' and 排课名称='课表'"));
    EXPECT_EQ(sql::periodCount(1, "2005-2006", "2", "课表"),
              QStringLiteral("select max(cint(上午)+cint(下午)+cint(晚上)) as maxs from sz_xn_rq,sz_xn where "
                             "sz_xn_rq.xn_id=sz_xn.id and  学年='2005-2006' and 学期='2' and 排课名称='课表'"));
}

TEST(StatementTexts, AreTheFixedTextsWhenNoValueHoldsAQuote)
{
    EXPECT_EQ(sql::findTimetable("2005-2006", "2", "课表"),
              QStringLiteral("select * from sz_xn where 学年='2005-2006' and 学期='2' and 排课名称='课表'"));
    EXPECT_EQ(sql::selectorFill("id,班级", "info_bj", sql::levelCondition("高中") + sql::gradeCondition(""), "班级"),
              QStringLiteral("select distinct id,班级 from info_bj where  级别='高中'  and 1=1  order by 班级"));
    EXPECT_EQ(sql::selectorFill("年级", "info_bj", " 1=1 ", ""), QStringLiteral("select distinct 年级 from info_bj where  1=1 "));
    EXPECT_EQ(sql::insertLesson("{a}", "P1", 3, 5),
              QStringLiteral("insert into kcb (id,jxjh_id,星期,课节) values ('{a}','P1','3','5')"));
    EXPECT_EQ(sql::classLessonAtSlot("X", "B", 2, 4),
              QStringLiteral("select kcb.id from kcb left join info_jxjh on kcb.jxjh_id=info_jxjh.id where xn_id='X' and bj_id='B' and  星期=2 and 课节=4"));
    EXPECT_EQ(sql::moveLesson(3, 5, "L1"), QStringLiteral("update kcb set 星期=3,课节=5 where id='L1'"));
    EXPECT_EQ(sql::deleteLesson("L1"), QStringLiteral("delete from kcb where id='L1'"));
    EXPECT_EQ(sql::positionCondition(3, 4), QStringLiteral(" 星期=3 and 课节=4"));
    EXPECT_EQ(sql::clashSet("X", "B", "T", sql::positionCondition(1, 3)),
              QStringLiteral("select * from kcb left join info_jxjh on kcb.jxjh_id=info_jxjh.id where (xn_id='X' and bj_id='B' and js_id in "
                             "(select js_id from kcb left join info_jxjh on kcb.jxjh_id=info_jxjh.id where  星期=1 and 课节=3 and xn_id='X')) "
                             "or (js_id='T' and xn_id='X')"));
    EXPECT_EQ(sql::teacherSettings("T", "X"), QStringLiteral("select * from sz_js where js_id='T' and xn_id='X'"));
    EXPECT_TRUE(sql::gridFill("X", sql::classFilter("B"))
                    .startsWith(QStringLiteral("select kcb.id as kcb_id,bj_id,js_id,kc_id,星期,课节,课程简称,姓名,班级 from kcb left join "
                                               "(select info_jxjh.*,info_kc.课程简称 from info_kc right join (select info_jxjh.*,info_js.姓名 "
                                               "from info_js right join  (select")));
    EXPECT_TRUE(sql::gridFill("X", sql::classFilter("B"))
                    .endsWith(QStringLiteral("where info_jxjh.xn_id='X') as info_jxjh on kcb.jxjh_id=info_jxjh.id where bj_id='B' and 课节>0 order by 星期,课节")));
}

TEST(StatementTexts, DoubleEverySingleQuoteInsideAValue)
{
    EXPECT_EQ(sql::findTimetable("O'Neil", "2", "a''b"),
              QStringLiteral("select * from sz_xn where 学年='O''Neil' and 学期='2' and 排课名称='a''''b'"));
    EXPECT_EQ(sql::levelCondition("x' or '1'='1"), QStringLiteral(" 级别='x'' or ''1''=''1' "));
    EXPECT_EQ(sql::deleteLesson("a'); drop table kcb; --"), QStringLiteral("delete from kcb where id='a''); drop table kcb; --'"));
    EXPECT_TRUE(sql::planView(1, "it's").endsWith(QStringLiteral("temm.xn_id='it''s') as tt) as pp ")));
}

} // namespace

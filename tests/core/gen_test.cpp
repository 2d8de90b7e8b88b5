#include "gen/sample_school.h"
#include "gen/synthetic_school.h"
#include "gen/writer.h"
#include "store/connection.h"
#include "store/conninfo.h"
#include "store/forbidden_periods.h"
#include "store/grid_statements.h"
#include "store/value_text.h"
#include "support/temp_db.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

namespace {

// Slots held twice by one class or one teacher within one timetable.
int clashes(TempDb& db)
{
    const QString held = "select xn_id,%1,星期,课节 from kcb join info_jxjh on kcb.jxjh_id=info_jxjh.id "
                         "group by xn_id,%1,星期,课节 having count(*)>1";
    return db.scalar("select count(*) from (" + held.arg("bj_id") + " union all " + held.arg("js_id") + ") as t")
        .toInt();
}

QStringList dump(TempDb& db)
{
    QStringList all;
    for (const char* table : {"sz_xn", "sz_xn_rq", "info_bj", "info_js", "info_kc", "info_jxjh", "kcb", "sz_js",
                              "sz_bj", "sz_kc", "sz_jxjh"}) {
        QStringList rows = db.rows(QStringLiteral("select * from %1").arg(QString::fromLatin1(table)));
        rows.sort();
        all << QString::fromLatin1(table) << rows;
    }
    return all;
}

int periodCount(TempDb& db)
{
    Connection conn(db.db());
    Recordset rs = conn.open(sql::periodCount(1, "2005-2006", "2", "课表"), CursorType::Static, LockType::ReadOnly);
    return rs.field("maxs").toInt();
}

class SampleSchoolTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(gen::writeSchool(db.db(), gen::sampleSchool()), QString()); }
    TempDb db;
};

// The names the other tests and the demonstration rely on, clash-free
// lessons that leave some hours to place, and a period count of 8 although
// the second timetable has 10 periods a day.
TEST_F(SampleSchoolTest, HasTheKnownNamesClashFreeLessonsAndEightPeriods)
{
    EXPECT_EQ(db.rows("select id from sz_xn where 学年='2005-2006' and 学期='2' and 排课名称='课表'"),
              QStringList{"XN01"});
    EXPECT_EQ(db.scalar("select 班级 from info_bj where id='BJ07'").toString(), "高一(1)班");
    EXPECT_EQ(db.rows("select 简码 from info_js group by 简码 having count(*)>1"), QStringList{"WF"});
    EXPECT_EQ(periodCount(db), 8);

    EXPECT_EQ(clashes(db), 0);
    EXPECT_EQ(db.scalar("select count(*) from kcb where 星期<1 or 星期>5 or 课节<1 or 课节>8").toInt(), 0);
    const int hours = db.scalar("select sum(每周课时) from info_jxjh where xn_id='XN01'").toInt();
    const int placed = db.scalar("select count(*) from kcb, info_jxjh p where jxjh_id=p.id and xn_id='XN01'").toInt();
    EXPECT_GT(placed, hours * 8 / 10);
    EXPECT_LT(placed, hours);
    // Lessons of the other term stand where the same teacher teaches in XN01, so scoping matters.
    EXPECT_GT(db.scalar("select count(*) from kcb a join info_jxjh p on a.jxjh_id=p.id, kcb b join info_jxjh q "
                        "on b.jxjh_id=q.id where p.xn_id='XN02' and q.xn_id='XN01' and p.js_id=q.js_id "
                        "and a.星期=b.星期 and a.课节=b.课节")
                  .toInt(),
              0);
}

TEST_F(SampleSchoolTest, ForbiddenPeriodsAreSetReadableAndRespected)
{
    // Every settings table has forbidden periods; a null there would make the move analysis fail.
    for (const QString t : {"sz_js", "sz_bj", "sz_kc"})
        EXPECT_EQ(db.rows("select sum(不排课节 is null), sum(不排课节 like '%/') > 0 from " + t), QStringList{"0|1"})
            << t.toStdString();
    EXPECT_EQ(
        db.rows(
            "select (select count(*) from sz_js where 是否连排=1) > 0, (select count(*) from sz_kc where 同时排班数>0) > 0"),
        QStringList{"1|1"});

    int checked = 0;
    for (const QString& row : db.rows("select kcb.id,星期,课节,xn_id,bj_id,js_id,kc_id,jxjh_id from kcb join "
                                      "info_jxjh on kcb.jxjh_id=info_jxjh.id where xn_id='XN01'")) {
        const QStringList f = row.split(u'|');
        const QStringList forbidden =
            db.rows("select 不排课节 from sz_js where xn_id='XN01' and js_id='" + f[5] + "' union all " +
                    "select 不排课节 from sz_bj where xn_id='XN01' and bj_id='" + f[4] + "' union all " +
                    "select 不排课节 from sz_kc where xn_id='XN01' and kc_id='" + f[6] + "' union all " +
                    "select 不排课节 from sz_jxjh where jxjh_id='" + f[7] + "'");
        for (const QString& text : forbidden)
            EXPECT_FALSE(periodForbidden(text, f[1].toInt(), f[2].toInt()))
                << qPrintable(row) << " in " << qPrintable(text);
        ++checked;
    }
    EXPECT_GT(checked, 300);
}

TEST(GenerateSchool, SyntheticSizesAreHonouredClashFreeAndRepeatableBySeed)
{
    using Options = gen::SyntheticOptions;
    for (const Options& k : {Options{30, 70, 3, 3, 1, 5, 12, 1.0}, Options{18, 40, 4, 4, 2, 6, 12, 0.5}}) {
        SCOPED_TRACE(::testing::Message() << k.classes << " classes, fill " << k.fill);
        Options options = k;
        const gen::School school = gen::syntheticSchool(options);
        TempDb db, again, otherSeed;
        ASSERT_EQ(gen::writeSchool(db.db(), school), QString());
        ASSERT_EQ(gen::writeSchool(again.db(), gen::syntheticSchool(options)), QString());
        options.seed += 1;
        ASSERT_EQ(gen::writeSchool(otherSeed.db(), gen::syntheticSchool(options)), QString());
        EXPECT_EQ(dump(db), dump(again));
        EXPECT_NE(dump(db), dump(otherSeed));

        const int periods = k.morning + k.afternoon + k.evening;
        EXPECT_EQ(db.scalar("select count(*) from info_js").toInt(), k.teachers);
        EXPECT_EQ(db.scalar("select count(*) from info_jxjh").toInt(), k.classes * 12);
        EXPECT_EQ(periodCount(db), periods);
        EXPECT_EQ(clashes(db), 0);
        EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from kcb where 星期<1 or 星期>%1 or 课节<1 or 课节>%2")
                                .arg(k.days)
                                .arg(periods))
                      .toInt(),
                  0);
        const int hours = db.scalar("select sum(每周课时) from info_jxjh").toInt();
        const int lessons = db.scalar("select count(*) from kcb").toInt();
        const gen::Summary summary = gen::summarize(school);
        EXPECT_EQ(summary.lessons, lessons);
        EXPECT_EQ(summary.hoursLeft, hours - lessons);
        if (k.fill == 1.0)
            EXPECT_GE(lessons, hours * 98 / 100);
        else
            EXPECT_LE(lessons, static_cast<int>(hours * k.fill) + 1);
    }
}

TEST_F(SampleSchoolTest, AFailedWriteLeavesNothingAndReplaceStartsAfresh)
{
    const QStringList before = dump(db);
    // The same ids again break the primary keys half way through.
    EXPECT_NE(gen::writeSchool(db.db(), gen::sampleSchool()), QString());
    EXPECT_EQ(dump(db), before);
    gen::SyntheticOptions options;
    options.classes = 3;
    ASSERT_EQ(gen::writeSchool(db.db(), gen::syntheticSchool(options), true), QString());
    EXPECT_EQ(db.scalar("select count(*) from info_bj").toInt(), 3);
    EXPECT_EQ(db.scalar("select count(*) from sz_xn").toInt(), 1);
}

TEST(GenerateSchema, ScriptsSplitOutsideQuotesAndCommentsAndTheSchemaIsCreatedOnce)
{
    QTemporaryDir dir;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(dir.filePath("empty.db"));
        ASSERT_TRUE(db.open());
        EXPECT_EQ(gen::schemaState(db), gen::SchemaState::Missing);
        EXPECT_EQ(gen::runScript(db, "-- a comment; with a semicolon\n"
                                     "create table t (a text default 'x;y');"
                                     "insert into t values ('it''s; -- not a comment');\n"
                                     "insert into t (a) values (null)"),
                  QString());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("select a from t where a is not null"));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), "it's; -- not a comment");
        EXPECT_NE(gen::runScript(db, "insert into t values ('open;"), QString());
        EXPECT_NE(gen::runScript(db, "insert into nowhere values (1); insert into t values ('x')"), QString());

        EXPECT_EQ(gen::createSchema(db), QString());
        EXPECT_EQ(gen::schemaState(db), gen::SchemaState::Complete);
        EXPECT_EQ(gen::timetableCount(db), 0);
        EXPECT_NE(gen::createSchema(db), QString());
        ASSERT_TRUE(q.exec("drop table kcb"));
        EXPECT_EQ(gen::schemaState(db), gen::SchemaState::Partial);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

TEST(GenerateConnInfo, ReadsLibpqStyleKeywordsAndQuotedValues)
{
    ConnInfo info;
    ASSERT_EQ(parseConnInfo("host=127.0.0.1  port = 5433 dbname=kb user=y password='a b\\'c' sslmode=disable", &info),
              QString());
    EXPECT_EQ((QStringList{info.host, QString::number(info.port), info.dbname, info.user, info.password}),
              (QStringList{"127.0.0.1", "5433", "kb", "y", "a b'c"}));
    EXPECT_EQ(info.options, QStringList{"sslmode=disable"});
    for (const char* bad : {"host", "port=54x", "password='open"})
        EXPECT_NE(parseConnInfo(bad, &info), QString()) << bad;
}

} // namespace

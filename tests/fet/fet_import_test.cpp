// kbtz-import on small FET files written here: what lands in which table,
// and files at fault, each refused with the element it names and nothing
// written.
#include "support/file_contents.h"
#include "support/small_school.h"
#include "support/sqlite_file.h"
#include "support/tool_run.h"
#include "support/test_database.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A FET file of two days (or four half days), two hours, one teacher who may
// not teach on the first day's second hour, year Y1 with group G1 not
// available on the second day's first hour, and one activity of duration d
// for G1 starting on the last day's first hour.
struct FetParts {
    QString mode = {};
    int days = 2;
    int duration = 1;
    QString startDay = "D2", startHour = "H1";
    QString activities = {}; // more <Activity> elements
    QString prologue = {};   // between the XML declaration and <fet>
};

QString fetText(const FetParts& p)
{
    QString days;
    for (int d = 1; d <= p.days; ++d)
        days += QStringLiteral("<Day><Name>D%1</Name></Day>\n").arg(d);
    return QString(QChar(0xFEFF)) + QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") + p.prologue +
           QStringLiteral("<fet version=\"6.8.5\">\n%1<Institution_Name>Ü School</Institution_Name>\n"
                          "<Days_List><Number_of_Days>%2</Number_of_Days>\n%3</Days_List>\n"
                          "<Hours_List><Number_of_Hours>2</Number_of_Hours><Hour><Name>H1</Name></Hour>"
                          "<Hour><Name>H2</Name></Hour></Hours_List>\n"
                          "<Subjects_List><Subject><Name>Math &amp; Logic</Name></Subject></Subjects_List>\n"
                          "<Teachers_List><Teacher><Name>Ann Lee</Name></Teacher></Teachers_List>\n"
                          "<Students_List><Year><Name>Y1</Name><Group><Name>G1</Name></Group></Year></Students_List>\n"
                          "<Activities_List>\n<Activity><Teacher>Ann Lee</Teacher><Subject>Math &amp; Logic</Subject>"
                          "<Students>G1</Students><Duration>%4</Duration><Id>1</Id><Active>true</Active></Activity>\n"
                          "%5</Activities_List>\n<Time_Constraints_List>\n"
                          "<ConstraintActivityPreferredStartingTime><Weight_Percentage>100</Weight_Percentage>"
                          "<Activity_Id>1</Activity_Id><Preferred_Day>%6</Preferred_Day>"
                          "<Preferred_Hour>%7</Preferred_Hour><Permanently_Locked>false</Permanently_Locked>"
                          "<Active>true</Active></ConstraintActivityPreferredStartingTime>\n"
                          "<ConstraintTeacherNotAvailableTimes><Weight_Percentage>100</Weight_Percentage>"
                          "<Teacher>Ann Lee</Teacher><Not_Available_Time><Day>D1</Day><Hour>H2</Hour>"
                          "</Not_Available_Time></ConstraintTeacherNotAvailableTimes>\n"
                          "<ConstraintStudentsSetNotAvailableTimes><Weight_Percentage>100</Weight_Percentage>"
                          "<Students>Y1</Students><Not_Available_Time><Day>D2</Day><Hour>H1</Hour>"
                          "</Not_Available_Time></ConstraintStudentsSetNotAvailableTimes>\n"
                          "<ConstraintMinDaysBetweenActivities><Weight_Percentage>95</Weight_Percentage>"
                          "</ConstraintMinDaysBetweenActivities>\n"
                          "</Time_Constraints_List>\n</fet>\n")
               .arg(p.mode.isEmpty() ? QString() : QStringLiteral("<Mode>%1</Mode>\n").arg(p.mode))
               .arg(p.days)
               .arg(days)
               .arg(p.duration)
               .arg(p.activities, p.startDay, p.startHour);
}

const QString kSecondActivity = "<Activity><Teacher>Ann Lee</Teacher><Subject>Math &amp; Logic</Subject>"
                                "<Students>G1</Students><Duration>1</Duration><Id>%1</Id></Activity>\n";

class FetImportTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override { db = makeTestDatabase(GetParam()); }

    ToolRun import(const QByteArray& bytes)
    {
        writeFile(dir.filePath("school.fet"), bytes);
        return runTool("kbtz-import", QStringList{"--fet", dir.filePath("school.fet")} + db->driveArguments());
    }

    // Every table and its rows, to see that a refused file changed nothing.
    QStringList snapshot()
    {
        QStringList all;
        for (const QString& table :
             db->rows(GetParam() == TestEngine::SQLite
                          ? "select name from sqlite_master where type='table' order by name"
                          : "select tablename from pg_tables where schemaname=current_schema() order by tablename"))
            all << table + QStringLiteral(": ") + db->rows(QStringLiteral("select * from ") + table).join(u';');
        return all;
    }

    std::unique_ptr<TestDatabase> db;
    QTemporaryDir dir;
};

TEST_P(FetImportTest, TablesHoldTheFilesNamesTimesAndForbiddenPeriods)
{
    const struct {
        FetParts parts;
        QStringList lessons, days, teacherForbidden, classForbidden;
    } cases[] = {
        {FetParts{}, {"2|1"}, {"2|0|0", "2|0|0"}, {"1:2/"}, {"2:1/"}},
        // Mornings and afternoons: D3 is the second weekday's morning, D4 its afternoon.
        {FetParts{.mode = "Mornings_Afternoons", .days = 4, .duration = 2, .startDay = "D4"},
         {"2|3", "2|4"},
         {"2|2|0", "2|2|0"},
         {"1:2/"},
         {"1:3/"}},
    };
    for (const auto& c : cases) {
        db = makeTestDatabase(GetParam());
        const ToolRun run = import(fetText(c.parts).toUtf8());
        ASSERT_EQ(run.exitCode, 0) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains("1 classes, 1 teachers, 1 courses, 1 plan items")) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains("other constraints: 1 (ConstraintMinDaysBetweenActivities ×1)"))
            << run.out.toStdString();
        EXPECT_EQ(db->rows("select 学年||' '||学期||' '||排课名称 from sz_xn").size(), 1);
        EXPECT_EQ(db->rows("select 班级,年级,级别 from info_bj"), QStringList{"G1|Y1|Ü School"});
        EXPECT_EQ(db->rows("select 姓名,简码 from info_js"), QStringList{"Ann Lee|AL"});
        EXPECT_EQ(db->rows("select 课程名 from info_kc"), QStringList{"Math & Logic"});
        EXPECT_EQ(db->rows("select 每周课时 from info_jxjh"), QStringList{QString::number(c.parts.duration)});
        EXPECT_EQ(db->rows("select 星期,课节 from kcb order by 星期,课节"), c.lessons);
        EXPECT_EQ(db->rows("select 上午,下午,晚上 from sz_xn_rq order by 星期"), c.days);
        EXPECT_EQ(db->rows("select 不排课节 from sz_js"), c.teacherForbidden);
        EXPECT_EQ(db->rows("select 不排课节 from sz_bj"), c.classForbidden);
        EXPECT_EQ(db->rows("select distinct activity_id from kbtz_fet_lesson"), QStringList{"1"});
    }
}

TEST_P(FetImportTest, AFileAtFaultIsRefusedByNameAndWritesNothing)
{
    insertSmallSchool(*db);
    const QString valid = fetText({});
    QByteArray huge = fetText({}).toUtf8();
    huge.insert(huge.indexOf("<fet "), "<!--" + QByteArray(50 * 1024 * 1024, 'x') + "-->\n");
    const struct {
        QByteArray bytes;
        QString message;
    } cases[] = {
        {valid.left(valid.indexOf("<Preferred_Hour>")).toUtf8(),
         "the file is cut short, in <ConstraintActivityPreferredStartingTime>"},
        {fetText({.activities = kSecondActivity.arg(1)}).toUtf8(),
         "<Activity> at line 14: activity id 1 is used twice (first at line 13)"},
        {fetText({.startDay = "Sunday"}).toUtf8(),
         "<ConstraintActivityPreferredStartingTime> at line 16: day “Sunday” is not in <Days_List>"},
        {fetText({.duration = 2, .startHour = "H2"}).toUtf8(),
         "<ConstraintActivityPreferredStartingTime> at line 16: activity 1 of duration 2 from hour “H2” goes past "
         "the day's last hour"},
        {fetText({.days = 8}).toUtf8(), "<Days_List> has 8 days; a week here has at most 7 days"},
        {fetText({.prologue = "<!DOCTYPE fet [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>\n"})
             .toUtf8(),
         "a document type declaration (<!DOCTYPE>, entities) is not accepted"},
        {"timetable", "not XML"},
        {"<?xml version=\"1.0\"?><html><body/></html>", "not a FET file: the root element is <html> at line 1"},
        {huge, "the file has 50 MB; a FET file here has at most 32 MB"},
    };
    const QStringList before = snapshot();
    for (const auto& c : cases) {
        const ToolRun run = import(c.bytes);
        EXPECT_EQ(run.exitCode, 2) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(c.message)) << run.out.toStdString();
        EXPECT_EQ(snapshot().join('\n').toStdString(), before.join('\n').toStdString()) << c.message.toStdString();
    }
    // A file at fault never creates the database file it was to go into.
    const QString newFile = dir.filePath("new.db");
    EXPECT_EQ(runTool("kbtz-import", {"--fet", dir.filePath("school.fet"), "--db", newFile}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(newFile));
}

// An activity of two periods whose lessons no longer stand together keeps the
// start it came with; the export says so and exits 1.
TEST_P(FetImportTest, AnActivityTornApartKeepsItsStartAndTheExportSaysSo)
{
    const QByteArray original = fetText({.duration = 2}).toUtf8();
    ASSERT_EQ(import(original).exitCode, 0);
    db->exec("update kcb set 星期=1 where 课节=2");
    const QString out = dir.filePath("out.fet");
    const ToolRun run = runTool("kbtz-export", db->driveArguments() + QStringList{"--fet", out});
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("1 activities, 0 moved\nactivity 1 keeps its imported start: its lessons are not "
                                 "consecutive periods of one day"))
        << run.out.toStdString();
    EXPECT_EQ(fileBytes(out), original);
}

KBTZ_ON_EVERY_ENGINE(FetImportTest);

// The SQLite files the project writes keep a write-ahead log, so that an
// edit's commit does not wait for the disk twice.
TEST(NewDatabaseFiles, KeepAWriteAheadLog)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("school.fet"), fetText({}).toUtf8());
    const struct {
        const char* tool;
        QStringList args;
    } writers[] = {
        {"kbtz-gen", {"--sample", dir.filePath("sample.db")}},
        {"kbtz-import", {"--fet", dir.filePath("school.fet"), "--db", dir.filePath("imported.db")}},
    };
    for (const auto& w : writers) {
        const ToolRun run = runTool(w.tool, w.args);
        ASSERT_EQ(run.exitCode, 0) << run.out.toStdString();
        onSqliteFile(w.args.last(), [&](QSqlDatabase& db) {
            QSqlQuery q("pragma journal_mode", db);
            ASSERT_TRUE(q.next());
            EXPECT_EQ(q.value(0).toString(), "wal") << w.tool;
        });
    }
}

} // namespace

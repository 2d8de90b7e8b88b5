// The conflict check on a timetable with one planted problem of each kind,
// through the core, the driver and kbtz-check; the sample school has hours
// left only.
#include "adjust_fixture.h"

#include "check/conflict_check.h"
#include "gen/sample_school.h"
#include "gen/writer.h"
#include "support/tool_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace {

// On the small school (support/small_school.h), beside a second timetable
// whose rows sit on the same teacher and slot and must be ignored:
//   L7  P3 (2班, A张)  Wed 2   A张 already teaches L5 there
//   L8  P5 (1班, C王)  Mon 1   1班 already has L3 there
//   2班 may not have lessons on Tuesday 1, where L2 is
//   L9  P4             weekday 8
//   L10 P4             Fri 6, and Friday has 4 periods
//   L11 P5             Tue 3: P5 (2 hours) now has L6, L8, L11
//   L12 P6 (2班, B李)  Thu 1: P6's weekly hours (2,000,000,000) are past any week
void plantProblems(TestDatabase& db)
{
    db.execAll({"insert into sz_bj values ('X1','B2','2:1/')", "insert into sz_xn_rq values ('X1',5,'4','0','0')",
                "insert into sz_xn values ('X2','2005-2006','1','课表')",
                "insert into sz_js values ('X2','T1','1:3/',0)"});
    insertRows(db, "info_jxjh", {"'P6','X1','B2','T2','K2',2000000000", "'P9','X2','B1','T1','K1',1"});
    insertRows(db, "kcb",
               {"'L7','P3',3,2", "'L8','P5',1,1", "'L9','P4',8,1", "'L10','P4',5,6", "'L11','P5',2,3", "'L12','P6',4,1",
                "'L99','P9',3,2"});
}

// Each entry as "kind ids detail"; the ids are the lessons' (the plan item's
// for hours left).
QStringList entries(const QJsonObject& report)
{
    QStringList out;
    for (const QJsonValue& p : report.value("problems").toArray()) {
        QStringList ids;
        for (const QJsonValue& l : p["lessons"].toArray())
            ids << (l["id"].isNull() ? l["plan"].toString() : l["id"].toString());
        out << QStringList{p["kind"].toString(), ids.join(u','), p["detail"].toString()}.join(u' ');
    }
    return out;
}

const QStringList kPlantedEntries{"teacherClash L5,L7 A张 在星期三第二节有 2 节课",
                                  "classClash L3,L8 1班 在星期一第一节有 2 节课",
                                  "forbiddenPeriod L2 [班级]2班 已在此课节被设定不能排课",
                                  "outsideWeek L9 星期“8”不是星期一到星期日",
                                  "beyondDay L10 课节“6”不在星期五的 4 节之内",
                                  "overPlaced L8,L11,L6 每周 2 课时，已排 3 节",
                                  "badWeeklyHours L12 每周课时“2000000000”不是 0 到 168 之间的整数，已排 1 节",
                                  "hoursLeft P1 每周 5 课时，已排 2 节，剩余 3 课时",
                                  "hoursLeft P2 每周 5 课时，已排 1 节，剩余 4 课时",
                                  "hoursLeft P3 每周 4 课时，已排 2 节，剩余 2 课时"};

class ConflictCheckTest : public AdjustTest {};

TEST_P(ConflictCheckTest, PlantedProblemsAreListedOnceEachThroughCoreDriverAndTool)
{
    plantProblems(*db);

    const ConflictReport report = checkTimetable(control().conn(), QStringLiteral("X1"));
    EXPECT_EQ(entries(reportJson(report)), kPlantedEntries);
    EXPECT_EQ(report.conflictCount(), 7);
    EXPECT_EQ(report.hoursLeft(), 9);
    // The control's hours left agree: nothing to place for hours it cannot read.
    run("pick cmbBj 1");
    EXPECT_EQ(hoursLeft("lstBj", "P6"), "0");

    const QJsonObject answer = driver->run(QStringLiteral("conflicts"));
    EXPECT_EQ(entries(answer.value("conflicts").toObject()), kPlantedEntries);

    // Two timetables, one of them the host's: the tool takes that one.
    const ToolRun tool = runTool("kbtz-check", db->driveArguments() << QStringLiteral("--json"));
    EXPECT_EQ(tool.exitCode, 1) << tool.out.toStdString();
    const QJsonObject printed = QJsonDocument::fromJson(tool.out.toUtf8()).object();
    EXPECT_EQ(entries(printed), kPlantedEntries);
    EXPECT_EQ(printed["timetable"]["id"].toString(), QStringLiteral("X1"));
}

TEST_P(ConflictCheckTest, TheToolNamesTheTimetableItCannotChoose)
{
    db->exec("insert into sz_xn values ('X2','2006-2007','1','课表')");
    const struct {
        QStringList args;
        int exitCode;
        const char* said;
    } cases[] = {
        {{"--year", "2006-2007"}, 0, "2006-2007 学年 第 1 学期 课表：冲突 0 处；剩余课时 0 课时（0 个教学计划）"},
        {{"--term", "9"}, 2, "no timetable */9/* in the database"},
        {{"--name", "课表"}, 2, "2 timetables match */*/课表"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool("kbtz-check", db->driveArguments() + c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.said))) << run.out.toStdString();
    }
    db->execAll({"delete from sz_xn where id='X1'", "insert into sz_xn values ('X3','2007-2008','1','课表')"});
    const ToolRun other = runTool("kbtz-check", db->driveArguments());
    EXPECT_EQ(other.exitCode, 2);
    EXPECT_TRUE(other.out.contains("none is 2005-2006/2/课表")) << other.out.toStdString();
}

class SampleSchoolCheckTest : public AdjustTest {
protected:
    SampleSchoolCheckTest() { withSchool = false; }
};

TEST_P(SampleSchoolCheckTest, HasOnlyTheHoursItLeavesAndPassesTheTool)
{
    const gen::School school = gen::sampleSchool();
    ASSERT_TRUE(gen::writeSchool(db->db(), school).isEmpty());
    const ToolRun run = runTool("kbtz-check", db->driveArguments() << QStringLiteral("--json"));
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(report["conflicts"].toInt(), 0);
    EXPECT_EQ(report["hoursLeft"]["hours"].toInt(), gen::summarize(school).hoursLeft);
    for (const QJsonValue& p : report["problems"].toArray())
        EXPECT_EQ(p["kind"].toString(), QStringLiteral("hoursLeft"));
}

KBTZ_ON_EVERY_ENGINE(ConflictCheckTest);
KBTZ_ON_EVERY_ENGINE(SampleSchoolCheckTest);

} // namespace

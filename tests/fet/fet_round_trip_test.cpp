// Round trips through files FET itself made: fet-cl generates the timetables
// of a few small schools that the fet-data package ships; each is imported,
// read back from kcb, edited through the driver and exported again.
#include "support/drive_process.h"
#include "support/file_contents.h"
#include "support/tool_run.h"
#include "support/test_database.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

const char* const kExamples = "/usr/share/doc/fet-data/examples/";
const char* const kSchools[] = {
    "FET-5-official/Argentina/Horario_ISJ.fet",
    "FET-6-mornings-afternoons/Algeria/5-by-Benahmed-Abdelkrim/only_R+Q+Inf.fet",
};

// The file read with patterns of its own, apart from the importer's reader:
// each activity's start (weight 100) as "day|hour", and its lessons as
// "class|teacher|subject|weekday|period" for activities of one teacher and
// one students set.
struct FileTimes {
    std::map<QString, QString> starts; // activity id -> "day|hour"
    QStringList lessons;
};

QString unescaped(QString s)
{
    return s.replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&quot;", "\"")
        .replace("&apos;", "'")
        .replace("&amp;", "&");
}

QStringList all(const QString& text, const QString& element)
{
    QStringList found;
    const QRegularExpression re(QStringLiteral("<%1>(.*?)</%1>").arg(element),
                                QRegularExpression::DotMatchesEverythingOption);
    for (const auto& m : re.globalMatch(text))
        found << unescaped(m.captured(1).trimmed());
    return found;
}

FileTimes fileTimes(const QString& path)
{
    const QString text = QString::fromUtf8(fileBytes(path));
    QStringList days, hours;
    for (const QString& d : all(all(text, "Days_List").value(0), "Day"))
        days << all(d, "Name").value(0);
    for (const QString& h : all(all(text, "Hours_List").value(0), "Hour"))
        hours << all(h, "Name").value(0);
    const bool ma = text.contains("<Mode>Mornings_Afternoons</Mode>");

    FileTimes t;
    for (const QString& c : all(text, "ConstraintActivityPreferredStartingTime"))
        if (all(c, "Weight_Percentage").value(0) == "100" && all(c, "Active").value(0) != "false")
            t.starts.emplace(all(c, "Activity_Id").value(0),
                             all(c, "Preferred_Day").value(0) + u'|' + all(c, "Preferred_Hour").value(0));
    for (const QString& a : all(text, "Activity")) {
        const QStringList teachers = all(a, "Teacher"), students = all(a, "Students");
        const auto start = t.starts.find(all(a, "Id").value(0));
        if (teachers.size() != 1 || students.size() != 1 || all(a, "Active").value(0) == "false" ||
            start == t.starts.end())
            continue;
        const int day = static_cast<int>(days.indexOf(start->second.section(u'|', 0, 0)));
        const int hour = static_cast<int>(hours.indexOf(start->second.section(u'|', 1)));
        for (int k = 0; k < all(a, "Duration").value(0).toInt(); ++k)
            t.lessons << QStringLiteral("%1|%2|%3|%4|%5")
                             .arg(students[0], teachers[0], all(a, "Subject").value(0))
                             .arg(ma ? day / 2 + 1 : day + 1)
                             .arg((ma && day % 2 ? hours.size() : 0) + hour + k + 1);
    }
    t.lessons.sort();
    return t;
}

class FetRoundTripTest : public ::testing::TestWithParam<TestEngine> {
protected:
    // fet-cl's timetable of the school in input, written under outDir.
    QString generated(const QString& input, const QString& outDir)
    {
        const ToolRun run =
            runProgram("fet-cl", {"--inputfile=" + input, "--outputdir=" + outDir, "--timelimitseconds=20"});
        EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
        QDirIterator it(outDir, {"*_data_and_timetable.fet"}, QDir::Files, QDirIterator::Subdirectories);
        return it.hasNext() ? it.next() : QString();
    }

    QStringList lessonsInKcb()
    {
        QStringList rows =
            db->rows("select 班级,姓名,课程名,星期,课节 from kcb join info_jxjh on info_jxjh.id=kcb.jxjh_id "
                     "join info_bj on info_bj.id=bj_id join info_js on info_js.id=js_id "
                     "join info_kc on info_kc.id=kc_id");
        rows.sort();
        return rows;
    }

    std::unique_ptr<TestDatabase> db;
    QTemporaryDir dir;
};

// Moves the first lesson in `movable` that has an available empty cell on
// one of the first `weekdays` days to the first such cell, looking through
// the grades and classes in the selectors' order; returns the lesson's id, empty when
// none could move.
QString moveOneLesson(const QStringList& driveArgs, const QStringList& movable, int weekdays)
{
    DriveProcess desk(driveArgs);
    desk.run("ini 2026-2027 1 school 1");
    const auto classWeek = [&] {
        return desk.run("dump")["state"].toObject()["grids"].toObject()["班级"].toObject()["cells"].toArray();
    };
    desk.run("pick cmbJb 0");
    for (int g = 0, c = 0; !desk.run(QStringLiteral("pick cmbNj %1").arg(g)).contains("error"); ++g, c = 0)
        while (!desk.run(QStringLiteral("pick cmbBj %1").arg(c++)).contains("error")) {
            const QJsonArray week = classWeek();
            for (int d = 0; d < weekdays; ++d)
                for (int p = 0; p < week[d].toArray().size(); ++p) {
                    const QString lesson = week[d].toArray()[p].toObject()["tag"].toString().section(u'\t', 0, 0);
                    if (!movable.contains(lesson))
                        continue;
                    desk.run(QStringLiteral("rclick 班级 %1 %2").arg(d + 1).arg(p + 1));
                    const QJsonArray analysed = classWeek();
                    for (int td = 0; td < weekdays; ++td)
                        for (int tp = 0; tp < analysed[td].toArray().size(); ++tp) {
                            const QJsonObject target = analysed[td].toArray()[tp].toObject();
                            if (target["back"].toInt() == 0xFAE8DC && target["tag"].toString().isEmpty() &&
                                target["visible"].toBool()) {
                                desk.run(QStringLiteral("dragcell 班级 %1 %2 班级 %3 %4")
                                             .arg(d + 1)
                                             .arg(p + 1)
                                             .arg(td + 1)
                                             .arg(tp + 1));
                                return lesson;
                            }
                        }
                }
        }
    return {};
}

TEST_P(FetRoundTripTest, LessonsMatchTheFileAndOnlyAMovedActivityChangesOnExport)
{
    for (const char* school : kSchools) {
        SCOPED_TRACE(school);
        db = makeTestDatabase(GetParam());
        const QString input = dir.filePath(QFileInfo(school).fileName());
        ASSERT_TRUE(QFile::copy(QLatin1String(kExamples) + school, input));
        const QString file = generated(input, dir.filePath("generated"));
        ASSERT_FALSE(file.isEmpty());
        const ToolRun imported =
            runTool("kbtz-import", QStringList{"--fet", file, "--name", "school"} + db->driveArguments());
        ASSERT_EQ(imported.exitCode, 0) << imported.out.toStdString();
        const FileTimes original = fileTimes(file);
        ASSERT_FALSE(original.lessons.isEmpty());
        EXPECT_EQ(lessonsInKcb().join('\n').toStdString(), original.lessons.join('\n').toStdString());

        // No edit: the same file, which fet-cl takes with every activity where it stands.
        const QString unchanged = dir.filePath("unchanged.fet");
        ASSERT_EQ(runTool("kbtz-export", db->driveArguments() + QStringList{"--fet", unchanged}).exitCode, 0);
        EXPECT_EQ(fileBytes(unchanged), fileBytes(file));
        const QString again = generated(unchanged, dir.filePath("again"));
        EXPECT_EQ(fileTimes(again).starts, original.starts);

        // A lesson of an activity of duration 1, so that its activity stays one run of periods.
        const QStringList single =
            db->rows("select min(kcb_id) from kbtz_fet_lesson group by activity_id having count(*)=1");
        const QString moved =
            moveOneLesson(db->driveArguments(), single, db->scalar("select count(*) from sz_xn_rq").toInt());
        ASSERT_FALSE(moved.isEmpty());
        const QString activity =
            db->scalar("select activity_id from kbtz_fet_lesson where kcb_id='" + moved + "'").toString();
        const QString edited = dir.filePath("edited.fet");
        const ToolRun exported = runTool("kbtz-export", db->driveArguments() + QStringList{"--fet", edited});
        EXPECT_EQ(exported.exitCode, 0) << exported.out.toStdString();
        std::map<QString, QString> starts = fileTimes(edited).starts;
        EXPECT_NE(starts[activity], original.starts.at(activity));
        starts[activity] = original.starts.at(activity);
        EXPECT_EQ(starts, original.starts);
        EXPECT_EQ(fileTimes(edited).lessons.join('\n').toStdString(), lessonsInKcb().join('\n').toStdString());
    }
}

KBTZ_ON_EVERY_ENGINE(FetRoundTripTest);

} // namespace

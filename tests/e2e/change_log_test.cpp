// The change history: one row of kcb_log for every committed edit, undo and
// redo, written with it, and none for an edit that did not go through.
#include "adjust_fixture.h"

#include <QJsonArray>

namespace {

class ChangeLogTest : public AdjustTest {
protected:
    // The desk's history, oldest first, each row as "step kind lesson before
    // after other" with "-" for a slot the lesson was not in.
    QStringList history()
    {
        QStringList out;
        for (const QJsonValue& v : driver->run("history 50").value("history").toArray()) {
            const QJsonObject r = v.toObject();
            QStringList row{r["step"].toString(), r["kind"].toString(), r["lesson"].toString()};
            for (const char* key : {"before", "after"}) {
                const QJsonArray s = r.value(QLatin1String(key)).toArray();
                row << (s.isEmpty() ? QStringLiteral("-")
                                    : QStringLiteral("%1/%2").arg(s[0].toInt()).arg(s[1].toInt()));
            }
            out.prepend((row << r["other"].toString()).join(u' ').trimmed());
        }
        return out;
    }
};

// Each kind of edit, its undo and its redo, in the order they were made,
// with the slots before and after; the names, the desk and the database user.
TEST_P(ChangeLogTest, EveryEditUndoAndRedoAppendsItsRow)
{
    run("desk 教务处 1");
    runAll({"pick cmbBj 0", "rclick 班级 1 3", "dragcell 班级 1 3 班级 5 5", "undo", "redo", "rclick 班级 1 1",
            "dragcell 班级 1 1 班级 5 5", "rclick 班级 5 5", "delete 班级", "undo", "item lstBj {P5}",
            "dragitem lstBj {P5} 班级 7 7", "undo", "redo"});
    EXPECT_TRUE(control().messages().take().empty());
    const QString placed = guidId(1);
    EXPECT_EQ(history(), (QStringList{"edit move L1 1/3 5/5", "undo move L1 5/5 1/3", "redo move L1 1/3 5/5",
                                      "edit exchange L3 1/1 5/5 L1", "edit remove L3 5/5 -", "undo remove L3 - 5/5",
                                      "edit place " + placed + " - 7/7", "undo place " + placed + " 7/7 -",
                                      "redo place " + placed + " - 7/7"}));

    const QJsonObject newest = driver->run("history 1").value("history").toArray().at(0).toObject();
    EXPECT_EQ(newest["course"].toString() + newest["class"].toString() + newest["teacher"].toString(),
              QStringLiteral("英语1班C王"));
    EXPECT_EQ(newest["desk"].toString(), QStringLiteral("教务处 1"));
    EXPECT_EQ(newest["user"].toString().isEmpty(), GetParam() == TestEngine::SQLite); // SQLite has no users
    EXPECT_EQ(db->scalar("select count(*) from kcb_log where xn_id='X1' and jxjh_id='P5'").toInt(), 3);
}

// A desk name keeps no control character (a NUL would end the statement
// that logs it) and at most 64 characters, counted as characters; the
// driver refuses values of `live` other than 0 and 1 and a `sql` without a
// statement, saying why.
TEST_P(ChangeLogTest, DeskNamesAreCleanedAndBadDriverArgumentsRefused)
{
    const QString emoji = QStringLiteral("😀");
    const struct {
        QString given, kept;
    } names[] = {
        {QStringLiteral("教务处") + QChar(0) + QStringLiteral("\t1\n\x01"), QStringLiteral("教务处1")},
        {QString(100, u'x'), QString(64, u'x')},
        {emoji.repeated(65), emoji.repeated(64)},
    };
    for (const auto& n : names) {
        control().SetDeskName(n.given);
        EXPECT_EQ(control().DeskName(), n.kept);
    }

    const struct {
        const char* line;
        const char* error;
    } refused[] = {{"live 2", "live 的值应为 0 或 1"},
                   {"live -1", "live 的值应为 0 或 1"},
                   {"sql", "sql 命令缺少要执行的语句"},
                   {"sql   ", "sql 命令缺少要执行的语句"}};
    for (const auto& r : refused)
        EXPECT_EQ(driver->run(r.line).value("error").toString(), QString::fromUtf8(r.error)) << r.line;
    EXPECT_TRUE(control().LiveRefresh());
}

// A database without kcb_log is edited as before and has no history.
TEST_P(ChangeLogTest, WithoutTheTableEditsGoOnAndThereIsNoHistory)
{
    db->exec("drop table kcb_log");
    start(); // a control on a new connection looks again
    runAll({"pick cmbBj 0", "rclick 班级 1 3", "dragcell 班级 1 3 班级 5 5"});
    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_TRUE(kcb().contains("L1|P1|5|5"));
    EXPECT_EQ(history(), QStringList());
}

// A row of the history leads to its lesson: its class is chosen (the class
// selector widened when a grade narrows it) and the lesson analysed, while
// it is still in the timetable.
TEST_P(ChangeLogTest, AnEntryShowsItsLessonWhileItExists)
{
    db->exec("update info_bj set 年级='高二' where id='B2'");
    start();
    runAll({"pick cmbJb 0", "pick cmbNj 1"}); // 高二: 2班 only
    ASSERT_EQ(surface().cmbBj.ListCount(), 1);
    EXPECT_TRUE(control().ShowLesson("L5"));
    EXPECT_EQ(surface().cmbBj.Text(), QStringLiteral("1班"));
    EXPECT_EQ(cell(C, 3, 2).BackColor, color::AnalysedLesson);
    EXPECT_EQ(surface().cmbJs.Text(), QStringLiteral("A张"));

    run("delete 班级");
    EXPECT_FALSE(control().ShowLesson("L5"));
    EXPECT_TRUE(control().messages().take().empty());
}

KBTZ_ON_EVERY_ENGINE(ChangeLogTest);

} // namespace

// Live refresh: a desk shows what another desk or program commits to the
// class or teacher it shows, through the driver's `wait`, without any action
// of its own; its analysis stays current, and a drag is not disturbed.
#include "adjust_fixture.h"

#include <QJsonArray>
#include <QSqlQuery>

namespace {

class LiveRefreshTest : public AdjustTest {
protected:
    void SetUp() override
    {
        AdjustTest::SetUp();
        other = std::make_unique<Driver>(db->openSecond());
        run("ini 2005-2006 2 课表 1", false, other.get());
        run("pick cmbBj 0"); // this desk shows 1班 (B1)
    }

    void TearDown() override
    {
        other.reset();
        AdjustTest::TearDown();
    }

    // Another desk moves a lesson of 1班 from the first slot to the second.
    void otherDeskMoves(const QString& from, const QString& to)
    {
        runAll({"pick cmbBj 0", "rclick 班级 " + from, QStringLiteral("dragcell 班级 %1 班级 %2").arg(from, to)},
               other.get());
        EXPECT_TRUE(other->control().messages().take().empty());
    }

    // This desk waits for changes of others; the sides shown afresh.
    QStringList waitHere(int ms)
    {
        QStringList sides;
        for (const QJsonValue& side : driver->run(QStringLiteral("wait %1").arg(ms)).value("refreshed").toArray())
            sides << side.toString();
        return sides;
    }

    std::unique_ptr<Driver> other;
};

// Another desk's move or new lesson, or a plain update by another program,
// reaches the desk that shows the class: its dump shows the lesson in its
// new cell as kcb holds it, marked as changed, and its plan list the hours
// left.
TEST_P(LiveRefreshTest, ACommittedChangeReachesTheDeskShowingItsClass)
{
    struct Case {
        const char* who;
        std::function<void()> change;
        int weekday, period;
        QString row; // of kcb, for the lesson now in the cell
        QString p5HoursLeft;
    };
    const std::vector<Case> cases{
        {"another desk moves", [&] { otherDeskMoves("4 4", "2 2"); }, 2, 2, "L6|P5|2|2", "1"},
        {"another program updates",
         [&] { ASSERT_TRUE(QSqlQuery(db->openSecond()).exec("update kcb set 星期=2, 课节=2 where id='L6'")); }, 2, 2,
         "L6|P5|2|2", "1"},
        {"another desk places",
         [&] {
             runAll({"pick cmbBj 0", "item lstBj {P5}", "dragitem lstBj {P5} 班级 7 7"}, other.get());
         },
         7, 7, "|P5|7|7", "-"}, // its last hour: the list no longer offers it
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.who);
        afresh();
        k.change();
        EXPECT_EQ(waitHere(2000), QStringList{sideName(C)});
        const QJsonValue state = driver->run("dump")["state"];
        const QJsonValue cell = state[u"grids"][u"班级"][u"cells"][k.weekday - 1][k.period - 1];
        const QString lesson = cell[u"tag"].toString().section(u'\t', 0, 0);
        EXPECT_EQ(db->rows("select id,jxjh_id,星期,课节 from kcb where id='" + lesson + "'"),
                  QStringList{k.row.startsWith(u'|') ? lesson + k.row : k.row});
        EXPECT_EQ(cell[u"back"].toInt(), color::Changed);
        EXPECT_EQ(hoursLeft("lstBj", "P5"), k.p5HoursLeft);
    }
}

// An analysis on screen is run again while what it was run on is still
// there, so its colours are current: Thursday 4 is free now and available,
// Tuesday 2 holds C王's lesson and is blocked (C王 teaches 2班 on Monday 3).
// When the analysed lesson itself has moved, both grids are reset instead.
TEST_P(LiveRefreshTest, AnAnalysisIsRunAgainWhileItsLessonStandsElseTheGridsAreReset)
{
    struct Case {
        const char* name;
        QString analysis, movedFrom;
        bool again;
    };
    for (const Case& k :
         {Case{"a lesson", "rclick 班级 1 3", "4 4", true}, Case{"a plan item", "item lstBj {P5}", "4 4", true},
          Case{"the analysed lesson moved", "rclick 班级 1 3", "1 3", false}}) {
        SCOPED_TRACE(k.name);
        afresh();
        run(k.analysis);
        ASSERT_EQ(cell(C, 4, 4).BackColor, color::White);
        otherDeskMoves(k.movedFrom, "2 2");
        waitHere(2000);
        if (k.again) {
            EXPECT_EQ(cell(C, 4, 4).BackColor, color::Available);
            EXPECT_EQ(cell(C, 2, 2).BackColor, color::White);
            EXPECT_TRUE(cell(C, 2, 2).Tag.startsWith("L6\t"));
            if (k.analysis.startsWith("item"))
                EXPECT_EQ(surface().lstBj.SelectedIndex, row("lstBj", "P5"));
            else
                EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
        } else {
            const std::set<std::int32_t> analysisMarks{color::Available, color::Warned, color::AnalysedLesson};
            for (Side side : {C, T})
                for (int d = 1; d <= 7; ++d)
                    for (int k = 1; k <= 8; ++k)
                        EXPECT_EQ(analysisMarks.count(cell(side, d, k).BackColor), 0u) << d << ":" << k;
            EXPECT_EQ(cell(C, 2, 2).BackColor, color::Changed);
            EXPECT_TRUE(cell(C, 2, 2).Tag.startsWith("L1\t"));
            expectArmed();
        }
    }
}

// A change that arrives in the middle of a drag waits until the drop is
// done; the drag goes on over the week the user saw when it began.
TEST_P(LiveRefreshTest, AChangeDuringADragWaitsUntilTheDrop)
{
    runAll({"rclick 班级 1 3", "dragstart 班级 1 3"});
    otherDeskMoves("4 4", "2 2");
    EXPECT_EQ(waitHere(1000), QStringList());
    EXPECT_TRUE(cell(C, 4, 4).Tag.startsWith("L6\t"));
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);

    run("drop 班级 5 5", true);
    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_TRUE(kcb().contains("L1|P1|5|5"));
    EXPECT_EQ(waitHere(2000).value(0), sideName(C));
    EXPECT_TRUE(cell(C, 2, 2).Tag.startsWith("L6\t"));
    EXPECT_TRUE(cell(C, 5, 5).Tag.startsWith("L1\t"));
    EXPECT_EQ(cell(C, 4, 4).Tag, "");
}

// The desk's own edits are already on its screen and are not shown again;
// with live refresh switched off, another desk's change is not shown until
// it is switched on again, and then at once; switched off and on with no
// change in between, nothing is shown.
TEST_P(LiveRefreshTest, NoRefreshForOwnEditsOrWhenSwitchedOffAndACatchUpWhenOnAgain)
{
    runAll({"rclick 班级 1 3", "dragcell 班级 1 3 班级 5 5"});
    EXPECT_EQ(waitHere(1000), QStringList());

    run("live 0");
    otherDeskMoves("4 4", "2 2");
    EXPECT_EQ(waitHere(1000), QStringList());
    EXPECT_TRUE(cell(C, 4, 4).Tag.startsWith("L6\t"));

    run("live 1");
    EXPECT_EQ(waitHere(2000), (QStringList{sideName(C), sideName(T)}));
    EXPECT_TRUE(cell(C, 2, 2).Tag.startsWith("L6\t"));
    EXPECT_EQ(cell(C, 4, 4).Tag, "");

    runAll({"live 0", "live 1"});
    EXPECT_EQ(waitHere(1000), QStringList());
}

KBTZ_ON_EVERY_ENGINE(LiveRefreshTest);

} // namespace

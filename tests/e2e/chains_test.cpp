// Why a lesson cannot go where the user drops it, and the chains of moves
// that get it there anyway.
#include "adjust_fixture.h"

#include "support/drive_process.h"

#include <QJsonArray>

namespace {

using ChainsTest = AdjustTest;

// Blocked cells name who is busy there: the analysed lesson's teacher in
// another lesson, or a lesson of the class that cannot trade places.
TEST_P(ChainsTest, BlockedCellsSayWhoIsBusyThereOnBothGrids)
{
    runAll({"pick cmbBj 0", "rclick 班级 1 3"}); // L1: B1 with T1
    EXPECT_EQ(cell(C, 2, 1).ToolTipText, QStringLiteral("A张 此时在 2班 上 数学"));
    EXPECT_EQ(cell(C, 3, 2).ToolTipText, QStringLiteral("A张 此时在 1班 上 数学"));
    EXPECT_EQ(cell(C, 4, 4).ToolTipText, QStringLiteral("1班 此时上 英语（C王），C王 在星期一第3节另有课，不能换过去"));
    EXPECT_EQ(cell(C, 1, 3).ToolTipText, QString()); // the analysed lesson itself

    runAll({"pick cmbJs 2", "item lstJs {P4}"}); // C王; B2 with T3, a new lesson
    EXPECT_EQ(cell(T, 2, 1).ToolTipText, QStringLiteral("2班 此时上 数学（A张）"));
    EXPECT_EQ(cell(T, 1, 3).ToolTipText, QStringLiteral("C王 此时在 2班 上 英语"));
    EXPECT_EQ(cell(T, 4, 4).ToolTipText, QStringLiteral("C王 此时在 1班 上 英语"));
    EXPECT_EQ(cell(T, 5, 5).BackColor, color::Available);
}

// With the weekday column, each day's setting bounds its periods; a day
// without a setting keeps the grids' rows. Without the column, as before.
TEST_P(ChainsTest, CellsPastTheirDaysPeriodsAreBlockedOnlyWithTheWeekdayColumn)
{
    db->execAll(
        {"insert into sz_xn_rq values ('X1',5,'3','3','0')", "insert into sz_xn_rq values ('X1',6,'0','0','0')"});
    for (const bool column : {true, false}) {
        if (!column) {
            db->exec("alter table sz_xn_rq drop column 星期");
            start();
        }
        runAll({"pick cmbBj 0", "rclick 班级 1 3"});
        const std::map<Slot, QString> expected{{{5, 6}, ""},
                                               {{5, 7}, "星期五只有 6 节"},
                                               {{6, 1}, "星期六没有课节"},
                                               {{6, 8}, "星期六没有课节"},
                                               {{7, 8}, ""}};
        for (const auto& [slot, tip] : expected) {
            const bool blocked = column && !tip.isEmpty();
            EXPECT_EQ(cell(C, slot.first, slot.second).BackColor, blocked ? color::White : color::Available)
                << column << " " << slot.first << ":" << slot.second;
            EXPECT_EQ(cell(C, slot.first, slot.second).ToolTipText, blocked ? tip : QString());
        }
        run("dragcell 班级 1 3 班级 6 1", true);
        if (column) {
            EXPECT_EQ(status(), QStringLiteral("星期六第1节 不能调入：星期六没有课节"));
            EXPECT_TRUE(writes().isEmpty());
        }
    }
}

// Each kind of refused drop says why in the status line, and no box; the
// next action clears it.
TEST_P(ChainsTest, RefusedDropsSayWhyInTheStatusLine)
{
    // Class B2 may be nowhere but where it is: L2 (Tuesday 1) cannot give way.
    QString everywhere;
    for (int d = 1; d <= 7; ++d)
        everywhere += QStringLiteral("%1:1\t2\t3\t4\t5\t6\t7\t8/").arg(d);
    db->exec(QStringLiteral("insert into sz_bj values ('X1','B2','%1')").arg(everywhere));
    const struct {
        const char* setup;
        const char* drop;
        QString status;
    } cases[] = {
        {"pick cmbBj 0", "dragcell 班级 1 3 班级 5 5", "没有分析的课：请先右键单击要调整的课，再把它拖到浅蓝色的格子"},
        {"item lstBj 0", "dragitem lstBj 0 教师 5 5", "没有分析的课：请先单击教学计划中的一项，再把它拖到浅蓝色的格子"},
        {"rclick 班级 1 3", "dragcell 班级 1 3 教师 5 5",
         "星期五第5节 不在分析的范围内：只能调到班级课表中浅蓝色或粉红色的格子"},
        {"rclick 班级 1 3", "dragcell 班级 1 3 班级 2 1", "星期二第1节 不能调入。4 节以内没有可行的调课方案"},
    };
    for (const auto& c : cases) {
        start();
        runAll({"pick cmbBj 0", c.setup});
        run(c.drop, true);
        const QJsonObject state = driver->run("dump")["state"].toObject();
        EXPECT_EQ(state["status"].toString(), c.status) << c.drop;
        EXPECT_TRUE(state["messages"].toArray().isEmpty());
        EXPECT_TRUE(writes().isEmpty());
        run("rclick 班级 4 4");
        EXPECT_EQ(status(), QString());
    }
}

// The small school's classes, teachers and plan items with 3班 and D赵 (T4)
// besides, Monday only, three periods. B1: A (T1) 1, X (T2) 2, Z (T3) 3; B2: Y (T2) 1,
// W (T3) 2, V (T4) 3; B3: U (T3) 1. Getting A into Monday 2 takes four
// lessons; without V three, without Y two, and into a free Monday 3 one.
class ChainApplyTest : public AdjustTest {
protected:
    void SetUp() override
    {
        withSchool = false;
        AdjustTest::SetUp();
        insertSmallSchool(*db, "3", "0", false);
        insertRows(*db, "info_bj", {"'B3','3班','高一','高中','理'"});
        insertRows(*db, "info_js", {"'T4','D赵','DZ','组'"});
        insertRows(*db, "info_jxjh",
                   {"'PA','X1','B1','T1','K1',2", "'PX','X1','B1','T2','K1',1", "'PZ','X1','B1','T3','K1',1",
                    "'PY','X1','B2','T2','K1',1", "'PW','X1','B2','T3','K1',1", "'PV','X1','B2','T4','K1',1",
                    "'PU','X1','B3','T3','K1',1", "'PN','X1','B3','T4','K1',1"});
        for (int day = 2; day <= 7; ++day)
            db->exec(QStringLiteral("insert into sz_xn_rq values ('X1',%1,'0','0','0')").arg(day));
        insertLessons();
        start();
    }
    void insertLessons()
    {
        insertRows(*db, "kcb",
                   {"'A','PA',1,1", "'X','PX',1,2", "'Z','PZ',1,3", "'Y','PY',1,1", "'W','PW',1,2", "'V','PV',1,3",
                    "'U','PU',1,1"});
    }
    QStringList log()
    {
        return db->rows("select step,kind,kcb_id,before_period,after_period from kcb_log order by seq");
    }
};

TEST_P(ChainApplyTest, ChainsOfOneToFourLessonsApplyUndoAndRedoAsOneEdit)
{
    const struct {
        const char* removed;
        int target;
        int lessons;
    } cases[] = {{"", 2, 4}, {"V", 2, 3}, {"Y", 2, 2}, {"Z", 3, 1}};
    for (const auto& c : cases) {
        db->execAll({"delete from kcb_log", "delete from kcb"});
        insertLessons();
        if (*c.removed)
            db->exec(QStringLiteral("delete from kcb where id='%1'").arg(c.removed));
        start();
        const QStringList before = kcb();
        runAll({"pick cmbBj 0", "rclick 班级 1 1"});
        // Where it takes more than an exchange, the drop offers the chain.
        if (c.lessons > 2) {
            run(QStringLiteral("dragcell 班级 1 1 班级 1 %1").arg(c.target));
            EXPECT_TRUE(status().startsWith(QStringLiteral("连环调课 %1 节：").arg(c.lessons))) << qPrintable(status());
        }
        control().conn().takeTrace();
        const QJsonArray chains =
            driver->run(QStringLiteral("chains 班级 1 1 班级 1 %1").arg(c.target))["chains"].toArray();
        ASSERT_FALSE(chains.isEmpty()) << c.removed;
        const QJsonArray moves = chains[0][u"moves"].toArray();
        ASSERT_EQ(moves.size(), c.lessons);
        EXPECT_EQ(moves[0][u"lesson"].toString(), "A");
        EXPECT_EQ(moves[0][u"to"].toArray(), (QJsonArray{1, c.target}));

        // What the chain says is what the database holds afterwards.
        run("applychain 0", true);
        QStringList after = before;
        for (const QJsonValue m : moves) {
            const QString id = m[u"lesson"].toString();
            for (QString& row : after)
                if (row.startsWith(id + "|"))
                    row = QStringLiteral("%1|%2|1|%3").arg(id, m[u"plan"].toString()).arg(m[u"to"][1].toInt());
        }
        EXPECT_EQ(kcb(), after);
        EXPECT_EQ(writes().size(), c.lessons);
        EXPECT_EQ(log().size(), c.lessons);
        EXPECT_TRUE(control().UndoText().startsWith(QStringLiteral("连环调课 %1 节：").arg(c.lessons)));

        run("undo");
        EXPECT_EQ(kcb(), before);
        run("redo");
        EXPECT_EQ(kcb(), after);
        const QStringList rows = log();
        ASSERT_EQ(rows.size(), 3 * c.lessons);
        for (int i = 0; i < 3 * c.lessons; ++i)
            EXPECT_TRUE(rows[i].startsWith(QStringList{"edit", "undo", "redo"}[i / c.lessons] + "|move|"))
                << qPrintable(rows[i]);
    }
}

// A plan item's new lesson is one of the chain's lessons.
TEST_P(ChainApplyTest, APlanItemsNewLessonTakesItsSlotThroughAChain)
{
    run("pick cmbBj 2");
    const int r = row("lstBj", "PN");
    const QJsonArray chains = driver->run(QStringLiteral("chains lstBj %1 班级 1 2").arg(r))["chains"].toArray();
    ASSERT_FALSE(chains.isEmpty());
    const QJsonObject first = chains[0][u"moves"][0].toObject();
    EXPECT_TRUE(first["lesson"].isNull());
    EXPECT_TRUE(first["from"].isNull());
    EXPECT_EQ(first["plan"].toString(), "PN");
    run("applychain 0");
    EXPECT_EQ(db->scalar("select count(*) from kcb where jxjh_id='PN' and 星期=1 and 课节=2").toInt(), 1);
    EXPECT_EQ(db->scalar("select count(*) from kcb_log where kind='place'").toInt(), 1);
    run("undo");
    EXPECT_EQ(db->scalar("select count(*) from kcb where jxjh_id='PN'").toInt(), 0);
}

// Another desk, a kbtz-drive process of its own, moves one of the chain's
// lessons first: the chain is refused with the box and the current week, and
// the table and the undo stack stay as they were.
TEST_P(ChainApplyTest, AChainAnotherDeskHasOvertakenIsRefused)
{
    DriveProcess a(db->driveArguments()), b(db->driveArguments());
    for (DriveProcess* desk : {&a, &b})
        for (const char* line : {"ini 2005-2006 2 课表 1", "pick cmbBj 1"})
            EXPECT_TRUE(desk->run(line)["ok"].toBool());
    const QJsonArray chains = a.run("chains 班级 1 1 班级 1 3")["chains"].toArray(); // Y into Monday 3
    ASSERT_FALSE(chains.isEmpty());
    EXPECT_EQ(chains[0][u"moves"].toArray().size(), 2);                        // V gives way into Monday 1
    for (const char* line : {"rclick 班级 1 1", "dragcell 班级 1 1 班级 1 3"}) // Y and V trade places
        EXPECT_TRUE(b.run(line)["ok"].toBool());
    const QStringList moved = kcb();
    ASSERT_NE(moved, QStringList());
    a.run("dump");
    EXPECT_TRUE(a.run("applychain 0")["ok"].toBool());
    const QJsonObject state = a.run("dump")["state"].toObject();
    ASSERT_EQ(state["messages"].toArray().size(), 1);
    EXPECT_EQ(state["messages"][0][u"title"].toString(), QStringLiteral("警告"));
    EXPECT_TRUE(state["host"][u"enabled"].toBool());
    EXPECT_TRUE(state["grids"][u"班级"][u"cells"][0][0][u"tag"].toString().startsWith("V\t"));
    EXPECT_FALSE(state["edits"][u"canUndo"].toBool());
    EXPECT_EQ(kcb(), moved);
}

KBTZ_ON_EVERY_ENGINE(ChainsTest);
KBTZ_ON_EVERY_ENGINE(ChainApplyTest);

} // namespace

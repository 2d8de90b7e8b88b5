#include "adjust_fixture.h"

namespace {

using PlacementTest = AdjustTest;

TEST_P(PlacementTest, PlanItemBecomesALessonAndShowsTheTeacherSide)
{
    runAll({"pick cmbBj 0", "item lstBj {P5}"});
    run("dragitem lstBj {P5} 班级 3 5", true);

    const QString id = guidId(1);
    EXPECT_EQ(writes(), QStringList{sql::insertLesson(id, "P5", 3, 5)});
    EXPECT_TRUE(kcb().contains(id + "|P5|3|5"));
    const Label& placed = cell(C, 3, 5);
    EXPECT_EQ(placed.Tag, id + "\tB1\tT3\tK3");
    EXPECT_EQ(placed.Caption, QStringLiteral("C王\r\n1班"));
    EXPECT_EQ(placed.BackColor, color::Changed);
    expectBack(C, color::White, {{3, 5}});
    // The last hour: the entry stays, showing 0.
    EXPECT_EQ(hoursLeft("lstBj", "P5"), "0");

    // Eight growing frames; the tile ends hidden about the cell's middle.
    EXPECT_EQ(pauses, std::vector<double>(8, 0.02));
    EXPECT_FALSE(surface().cBj.Visible);
    EXPECT_DOUBLE_EQ(surface().cBj.Height, placed.Height * 19 / 20);
    EXPECT_DOUBLE_EQ(surface().cBj.Top, placed.Top + placed.Height / 2 - placed.Height / 2 * 0.95);

    EXPECT_EQ(surface().cmbJs.ListIndex(), 2);
    EXPECT_EQ(cell(T, 3, 5).Tag, placed.Tag);
    EXPECT_EQ(hoursLeft("lstJs", "P5"), "-");
    expectArmed();
    EXPECT_TRUE(control().messages().take().empty());

    // Dragged again without a click, the item is taken for a move from the
    // first cell crossed, which is the drop cell itself.
    const QStringList after = kcb();
    run("dragitem lstBj {P5} 班级 3 6", true);
    EXPECT_TRUE(writes().isEmpty());
    EXPECT_EQ(kcb(), after);
    expectArmed();
}

TEST_P(PlacementTest, TeacherSideDropCountsDownAndShowsTheClass)
{
    runAll({"pick cmbJs 2", "item lstJs {P4}", "dragitem lstJs {P4} 教师 7 8"});
    EXPECT_TRUE(kcb().contains(guidId(1) + "|P4|7|8"));
    EXPECT_EQ(cell(T, 7, 8).Caption, QStringLiteral("英语\r\n2班"));
    EXPECT_EQ(hoursLeft("lstJs", "P4"), "1");
    EXPECT_EQ(surface().cmbBj.ListIndex(), 1);
    EXPECT_EQ(hoursLeft("lstBj", "P4"), "1");
}

TEST_P(PlacementTest, FailedInsertChangesNothingOnEitherSide)
{
    runAll({"pick cmbBj 0", "pick cmbJs 2"});
    const QStringList before = kcb();
    for (auto [list, kind, plan] : {std::tuple{"lstBj", "班级", "P5"}, std::tuple{"lstJs", "教师", "P4"}}) {
        const QString hours = hoursLeft(list, plan);
        run(QStringLiteral("item %1 {%2}").arg(list, plan));
        failExecute(1);
        run(QStringLiteral("dragitem %1 {%2} %3 7 8").arg(list, plan, kind));
        expectWarning(QStringLiteral("磁盘已满"));
        EXPECT_EQ(hoursLeft(list, plan), hours) << list;
        EXPECT_EQ(cell(sideOfKind(kind), 7, 8).Tag, "") << list;
        EXPECT_EQ(kcb(), before);
        control().conn().setFaultHook({});
    }
}

TEST_P(PlacementTest, RefusedDropsAreSilent)
{
    runAll({"pick cmbBj 0", "item lstBj {P2}"});
    cell(C, 6, 6).BackColor = color::Changed; // as an earlier drop leaves it

    // A list drop on a blocked or changed cell keeps the item ready to drag again.
    for (const char* target : {"1 3", "6 6"}) {
        run(QStringLiteral("dragitem lstBj {P2} 班级 %1").arg(target), true);
        EXPECT_TRUE(writes().isEmpty()) << target;
        EXPECT_FALSE(context().CaptureDragSource);
    }
    // A lesson's drag let go outside the grids leaves its cell recorded; the
    // item's click forgets it, so the item's drop is not taken for a move.
    run("rclick 班级 1 3");
    control().cellDragOver(C, 1, 2);
    run("item lstBj {P2}");
    EXPECT_EQ(context().DragSourceCell, nullptr);
    run("dragitem lstBj {P2} 班级 2 2");
    EXPECT_TRUE(kcb().contains(guidId(1) + "|P2|2|2"));

    // The analysed lesson onto itself or a blocked cell, an unanalysed lesson anywhere.
    run("rclick 班级 1 3");
    for (const char* drag : {"班级 1 3 班级 1 3", "班级 1 3 班级 2 1", "班级 1 1 班级 5 5"}) {
        run(QStringLiteral("dragcell %1").arg(drag), true);
        EXPECT_TRUE(writes().isEmpty()) << drag;
        EXPECT_TRUE(pauses.empty());
        expectArmed();
    }
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_TRUE(driver->host().Enabled());
}

TEST_P(PlacementTest, MoveOntoAnOccupiedCellExchangesBothLessons)
{
    runAll({"pick cmbBj 0", "rclick 班级 1 1"}); // L3, T2
    const QString movedCaption = cell(C, 1, 1).Caption;
    const QString otherCaption = cell(C, 1, 3).Caption;
    run("dragcell 班级 1 1 班级 1 3", true);

    EXPECT_EQ(writes(), (QStringList{sql::moveLesson(1, 1, "L1"), sql::moveLesson(1, 3, "L3")}));
    EXPECT_TRUE(kcb().contains("L1|P1|1|1"));
    EXPECT_TRUE(kcb().contains("L3|P2|1|3"));
    EXPECT_EQ(cell(C, 1, 1).Caption, otherCaption);
    EXPECT_EQ(cell(C, 1, 3).Caption, movedCaption);
    EXPECT_TRUE(cell(C, 1, 3).Tag.startsWith("L3\t"));
    expectBack(C, color::White, {{1, 1}, {1, 3}});
    EXPECT_EQ(cell(C, 1, 1).BackColor, color::Changed);
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::Changed);

    // Twenty-one crossing frames; each tile ends on the other's cell.
    EXPECT_EQ(pauses, std::vector<double>(21, 0.01));
    EXPECT_FALSE(surface().cBj.Visible || surface().eBj.Visible);
    EXPECT_DOUBLE_EQ(surface().cBj.Top, cell(C, 1, 3).Top);
    EXPECT_DOUBLE_EQ(surface().eBj.Top, cell(C, 1, 1).Top);
    EXPECT_EQ(surface().cmbJs.ListIndex(), 1);
    expectArmed();
}

TEST_P(PlacementTest, TeacherGridMoveDisplacesTheClassLessonOfTheTargetSlot)
{
    runAll({"pick cmbJs 0", "rclick 教师 3 2"}); // L5: B1, T1
    // The teacher grid is analysed: T1's lessons clash; the class grid follows to B1.
    EXPECT_EQ(cell(T, 3, 2).BackColor, color::AnalysedLesson);
    expectBack(T, color::Available, {{1, 3}, {2, 1}, {3, 2}});
    EXPECT_EQ(cell(T, 1, 3).ForeColor, color::Related);
    EXPECT_EQ(cell(T, 2, 1).ForeColor, color::Black);
    EXPECT_EQ(surface().cmbBj.ListIndex(), 0);

    run("dragcell 教师 3 2 教师 1 1", true);
    const auto sent = statements();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[0].text, sql::classLessonAtSlot("X1", "B1", 1, 1));
    EXPECT_EQ(sent[0].cursorType, CursorType::Dynamic);
    EXPECT_EQ(sent[0].lockType, LockType::Optimistic);
    EXPECT_EQ(sent[1].text, sql::moveLesson(3, 2, "L3"));
    EXPECT_EQ(sent[2].text, sql::moveLesson(1, 1, "L5"));
    // The class week is shown again, with its plan list, and filled once more.
    const QString classWeek = sql::gridFill("X1", sql::classFilter("B1"));
    EXPECT_EQ(sent[3].text, classWeek);
    EXPECT_EQ(sent[4].text, sql::planListFill(context().PlanViewSql, sql::classPlanCondition("B1")));
    EXPECT_EQ(sent[5].text, classWeek);
    EXPECT_TRUE(kcb().contains("L3|P2|3|2"));

    // Without a class lesson in the slot only the moved lesson goes.
    run("rclick 教师 1 1");
    run("dragcell 教师 1 1 教师 6 6", true);
    EXPECT_EQ(writes(), QStringList{sql::moveLesson(6, 6, "L5")});
}

// A failure in the middle of an exchange inside a transaction of the
// host's undoes only the drop's own work (outside one, the whole drop:
// FaultsTest.AWriteTheDatabaseRejectsIsShownAndChangesNothing).
TEST_P(PlacementTest, FailureInTheMiddleOfAnExchangeUndoesOnlyItsOwnWorkInTheHostsTransaction)
{
    run("pick cmbBj 0");
    const QStringList before = kcb();
    run("sql begin");
    ASSERT_TRUE(control().conn().inTransaction());
    db->exec("delete from kcb where id='L6'");
    failExecute(2);
    runAll({"rclick 班级 1 1", "dragcell 班级 1 1 班级 1 3"});
    expectWarning(QStringLiteral("磁盘已满"));
    EXPECT_EQ(context().DragSourceCell, &cell(C, 1, 1));
    EXPECT_TRUE(control().conn().inTransaction());
    EXPECT_EQ(kcb().size(), before.size() - 1);
    EXPECT_TRUE(kcb().contains("L3|P2|1|1"));
    run("sql commit");
}

KBTZ_ON_EVERY_ENGINE(PlacementTest);

} // namespace

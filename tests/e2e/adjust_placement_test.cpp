#include "adjust_fixture.h"

#include "store/statements.h"

namespace {

using PlacementTest = AdjustTest;

// ---- New lessons from a plan list ----

TEST_P(PlacementTest, PlanItemDroppedOnAFreeClassCellBecomesALesson)
{
    run("pick cmbBj 0");
    const int row = planRow("lstBj", "P5");
    ASSERT_GE(row, 0);
    EXPECT_EQ(hoursLeft("lstBj", "P5"), "1");
    run(QStringLiteral("item lstBj %1").arg(row));
    take();

    run(QStringLiteral("dragitem lstBj %1 班级 3 5").arg(row));

    const QString id = guidId(1);
    EXPECT_EQ(writes(), QStringList{sql::insertLesson(id, "P5", 3, 5)});
    EXPECT_TRUE(kcb().contains(id + "|P5|3|5"));
    Label& placed = cell(C, 3, 5);
    EXPECT_EQ(placed.Tag, id + "\tB1\tT3\tK3");
    EXPECT_EQ(placed.Caption, QStringLiteral("C王\r\n1班"));
    EXPECT_EQ(placed.BackColor, color::Changed);
    expectBack(C, color::White, {{3, 5}});
    EXPECT_EQ(hoursLeft("lstBj", "P5"), "0");

    // Eight growing frames; the tile ends hidden over the cell's middle.
    EXPECT_EQ(pauses, std::vector<double>(8, 0.02));
    const CommandButton& tile = surface().cBj;
    EXPECT_FALSE(tile.Visible);
    EXPECT_DOUBLE_EQ(tile.Height, placed.Height * 19 / 20);
    EXPECT_DOUBLE_EQ(tile.Top, placed.Top + placed.Height / 2 - placed.Height / 2 * 0.95);
    EXPECT_DOUBLE_EQ(tile.Left, placed.Left);

    // The other side shows the teacher, and his list is reread.
    EXPECT_EQ(surface().cmbJs.ListIndex(), 2);
    EXPECT_EQ(cell(T, 3, 5).Tag, id + "\tB1\tT3\tK3");
    EXPECT_EQ(hoursLeft("lstJs", "P5"), "(absent)");
    EXPECT_EQ(hoursLeft("lstJs", "P4"), "2");

    EXPECT_TRUE(context().CaptureDragSource);
    EXPECT_EQ(context().DragSourceCell, nullptr);
    expectHostUsable();
    EXPECT_TRUE(control().messages().take().empty());
}

TEST_P(PlacementTest, PlanItemDroppedOnTheTeacherGridShowsTheClassSide)
{
    run("pick cmbJs 2");
    const int row = planRow("lstJs", "P4");
    run(QStringLiteral("item lstJs %1").arg(row));
    run(QStringLiteral("dragitem lstJs %1 教师 7 8").arg(row));

    EXPECT_TRUE(kcb().contains(guidId(1) + "|P4|7|8"));
    EXPECT_EQ(cell(T, 7, 8).Caption, QStringLiteral("英语\r\n2班"));
    EXPECT_EQ(hoursLeft("lstJs", "P4"), "1");
    EXPECT_EQ(surface().cmbBj.ListIndex(), 1);
    EXPECT_EQ(hoursLeft("lstBj", "P4"), "1");
    EXPECT_FALSE(surface().CJs.Visible);
}

TEST_P(PlacementTest, RefusedListDropsStaySilentAndKeepTheItemReady)
{
    run("pick cmbBj 0");
    const int row = planRow("lstBj", "P2");
    run(QStringLiteral("item lstBj %1").arg(row));
    // A cell the last drop changed refuses as a blocked one does.
    cell(C, 6, 6).BackColor = color::Changed;
    take();

    for (const char* target : {"1 3", "6 6"}) {
        run(QStringLiteral("dragitem lstBj %1 班级 %2").arg(row).arg(target));
        EXPECT_TRUE(writes().isEmpty()) << target;
        EXPECT_TRUE(control().messages().take().empty());
        EXPECT_FALSE(context().CaptureDragSource);
        EXPECT_EQ(context().DragSourceCell, nullptr);
        expectHostUsable();
    }
    EXPECT_EQ(cell(C, 2, 2).BackColor, color::Available);

    // The same drag onto an accepted cell still places it.
    run(QStringLiteral("dragitem lstBj %1 班级 2 2").arg(row));
    EXPECT_EQ(writes().size(), 1);
    EXPECT_TRUE(kcb().contains(guidId(1) + "|P2|2|2"));
}

TEST_P(PlacementTest, RepeatedDragAfterADropPlacesNothing)
{
    run("pick cmbBj 0");
    const int row = planRow("lstBj", "P2");
    run(QStringLiteral("item lstBj %1").arg(row));
    run(QStringLiteral("dragitem lstBj %1 班级 2 2").arg(row));
    const QStringList after = kcb();
    take();

    // The capture is armed again, so the first cell crossed is taken for the source.
    run(QStringLiteral("dragitem lstBj %1 班级 2 3").arg(row));
    EXPECT_TRUE(writes().isEmpty());
    EXPECT_EQ(kcb(), after);
    EXPECT_TRUE(context().CaptureDragSource);
    EXPECT_EQ(context().DragSourceCell, nullptr);
}

TEST_P(PlacementTest, HoursLeftCountDownToZeroAndTheItemStays)
{
    run("pick cmbBj 0");
    const int row = planRow("lstBj", "P2");
    EXPECT_EQ(hoursLeft("lstBj", "P2"), "4");
    for (int k = 2; k <= 5; ++k) {
        run(QStringLiteral("item lstBj %1").arg(row));
        run(QStringLiteral("dragitem lstBj %1 班级 7 %2").arg(row).arg(k));
    }
    EXPECT_EQ(hoursLeft("lstBj", "P2"), "0");
    EXPECT_EQ(db->scalar("select count(*) from kcb where jxjh_id='P2'").toInt(), 5);
}

TEST_P(PlacementTest, FailedInsertLowersNoHoursOnEitherSide)
{
    run("pick cmbBj 0");
    run("pick cmbJs 2");
    const QStringList before = kcb();
    struct Side {
        const char* list;
        const char* kind;
        const char* plan;
    };
    for (Side side : {Side{"lstBj", "班级", "P5"}, Side{"lstJs", "教师", "P4"}}) {
        const int row = planRow(side.list, side.plan);
        const QString hours = hoursLeft(side.list, side.plan);
        run(QStringLiteral("item %1 %2").arg(side.list).arg(row));
        failExecute(1);
        run(QStringLiteral("dragitem %1 %2 %3 7 8").arg(side.list).arg(row).arg(side.kind));

        expectOneWarning(QStringLiteral("磁盘已满"));
        expectHostUsable();
        EXPECT_EQ(hoursLeft(side.list, side.plan), hours) << side.list;
        EXPECT_EQ(cell(side.kind, 7, 8).Tag, "") << side.list;
        EXPECT_EQ(kcb(), before);
        control().conn().setFaultHook({});
    }
}

// ---- Moves and exchanges of the analysed lesson ----

TEST_P(PlacementTest, MoveOntoAnOccupiedCellExchangesBothLessons)
{
    run("pick cmbBj 0");
    run("rclick 班级 1 1"); // L3, teacher T2
    const QString sourceCaption = cell(C, 1, 1).Caption;
    const QString targetCaption = cell(C, 1, 3).Caption;
    ASSERT_EQ(cell(C, 1, 3).BackColor, color::Available);
    take();

    run("dragcell 班级 1 1 班级 1 3");

    EXPECT_EQ(writes(), (QStringList{sql::moveLesson(1, 1, "L1"), sql::moveLesson(1, 3, "L3")}));
    EXPECT_TRUE(kcb().contains("L1|P1|1|1"));
    EXPECT_TRUE(kcb().contains("L3|P2|1|3"));
    EXPECT_EQ(cell(C, 1, 1).Caption, targetCaption);
    EXPECT_EQ(cell(C, 1, 3).Caption, sourceCaption);
    EXPECT_TRUE(cell(C, 1, 1).Tag.startsWith("L1\t"));
    EXPECT_TRUE(cell(C, 1, 3).Tag.startsWith("L3\t"));
    EXPECT_EQ(cell(C, 1, 1).BackColor, color::Changed);
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::Changed);
    expectBack(C, color::White, {{1, 1}, {1, 3}});

    // Twenty-one crossing frames; each tile ends on the other's cell.
    EXPECT_EQ(pauses, std::vector<double>(21, 0.01));
    EXPECT_FALSE(surface().cBj.Visible);
    EXPECT_FALSE(surface().eBj.Visible);
    EXPECT_DOUBLE_EQ(surface().cBj.Top, cell(C, 1, 3).Top);
    EXPECT_DOUBLE_EQ(surface().eBj.Top, cell(C, 1, 1).Top);
    EXPECT_EQ(surface().cBj.Caption, sourceCaption);

    // The teacher of the moved lesson is shown; no list changes hours.
    EXPECT_EQ(surface().cmbJs.ListIndex(), 1);
    EXPECT_TRUE(context().CaptureDragSource);
    EXPECT_EQ(context().DragSourceCell, nullptr);
    expectHostUsable();
}

TEST_P(PlacementTest, TeacherGridMoveDisplacesTheClassLessonInTheTargetSlot)
{
    run("pick cmbJs 0");
    run("rclick 教师 3 2"); // L5: class B1, teacher T1
    ASSERT_EQ(cell(T, 1, 1).BackColor, color::Available);
    ASSERT_EQ(cell(T, 1, 1).Tag, "");
    take();

    run("dragcell 教师 3 2 教师 1 1");

    const std::vector<TraceEntry> sent = statements();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[0].op, TraceEntry::Op::Open);
    EXPECT_EQ(sent[0].text, sql::classLessonAtSlot("X1", "B1", 1, 1));
    EXPECT_EQ(sent[0].cursorType, CursorType::Dynamic);
    EXPECT_EQ(sent[0].lockType, LockType::Optimistic);
    EXPECT_EQ(sent[1].text, sql::moveLesson(3, 2, "L3"));
    EXPECT_EQ(sent[2].text, sql::moveLesson(1, 1, "L5"));
    EXPECT_TRUE(kcb().contains("L3|P2|3|2"));
    EXPECT_TRUE(kcb().contains("L5|P1|1|1"));
    EXPECT_EQ(surface().cmbBj.ListIndex(), 0);

    // Without a class lesson in the slot only the moved lesson goes.
    run("rclick 教师 1 1");
    take();
    run("dragcell 教师 1 1 教师 6 6");
    EXPECT_EQ(writes(), QStringList{sql::moveLesson(6, 6, "L5")});
}

TEST_P(PlacementTest, DropsThatAreNoMoveOnlyRearmTheCapture)
{
    run("pick cmbBj 0");
    run("rclick 班级 1 3");
    take();

    // The analysed lesson back on its own cell.
    run("dragcell 班级 1 3 班级 1 3");
    // A lesson that was not analysed.
    run("dragcell 班级 1 1 班级 5 5");
    // The analysed lesson onto a blocked cell.
    run("dragcell 班级 1 3 班级 2 1");

    EXPECT_TRUE(writes().isEmpty());
    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_TRUE(context().CaptureDragSource);
    EXPECT_EQ(context().DragSourceCell, nullptr);
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    EXPECT_TRUE(pauses.empty());
    expectHostUsable();
}

TEST_P(PlacementTest, FailureInTheMiddleOfAnExchangeChangesNothingInTheDatabase)
{
    run("pick cmbBj 0");
    run("rclick 班级 1 1");
    const QStringList before = kcb();
    failExecute(2);
    take();

    run("dragcell 班级 1 1 班级 1 3");

    expectOneWarning(QStringLiteral("磁盘已满"));
    expectHostUsable();
    EXPECT_EQ(kcb(), before);
    // The screen keeps what the drop had done: the source stays recorded.
    EXPECT_FALSE(context().CaptureDragSource);
    EXPECT_EQ(context().DragSourceCell, &cell(C, 1, 1));
    EXPECT_TRUE(cell(C, 1, 1).Tag.startsWith("L3\t"));
}

TEST_P(PlacementTest, DropInsideTheHostsTransactionUsesASavepoint)
{
    run("pick cmbBj 0");
    run("rclick 班级 1 1");
    run("sql begin");
    ASSERT_TRUE(control().conn().inTransaction());
    failExecute(2);
    run("dragcell 班级 1 1 班级 1 3");
    expectOneWarning(QStringLiteral("磁盘已满"));
    // The host's own transaction is still open and holds nothing of the drop.
    EXPECT_TRUE(control().conn().inTransaction());
    EXPECT_TRUE(kcb().contains("L3|P2|1|1"));
    run("sql commit");
}

KBTZ_ON_EVERY_ENGINE(PlacementTest);

} // namespace

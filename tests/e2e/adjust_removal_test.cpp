#include "adjust_fixture.h"

#include "store/statements.h"

namespace {

using RemovalTest = AdjustTest;

TEST_P(RemovalTest, ClassButtonDeletesTheAnalysedClassLesson)
{
    run("pick cmbBj 0");
    EXPECT_EQ(hoursLeft("lstBj", "P1"), "3");
    run("rclick 班级 1 3");
    take();

    run("delete 班级");

    EXPECT_EQ(writes(), QStringList{sql::deleteLesson("L1")});
    EXPECT_FALSE(kcb().join(' ').contains("L1|"));
    EXPECT_EQ(cell(C, 1, 3).Tag, "");
    EXPECT_EQ(cell(C, 1, 3).Caption, "");
    EXPECT_TRUE(cell(C, 1, 1).Tag.startsWith("L3\t"));
    expectBack(C, color::White);
    for (int d = 1; d <= 7; ++d)
        for (int k = 1; k <= 8; ++k) {
            EXPECT_EQ(cell(C, d, k).ForeColor, color::Black);
            EXPECT_EQ(cell(C, d, k).ToolTipText, "");
        }
    expectEmptyGrid(T);
    EXPECT_EQ(hoursLeft("lstBj", "P1"), "4");
    EXPECT_EQ(hoursLeft("lstJs", "P1"), "4");
    EXPECT_EQ(hoursLeft("lstJs", "P3"), "3");
    expectHostUsable();

    // The colour is gone, so a second click finds nothing.
    run("delete 班级");
    EXPECT_TRUE(writes().isEmpty());
}

TEST_P(RemovalTest, TeacherButtonDeletesTheAnalysedTeacherLesson)
{
    run("pick cmbJs 0");
    run("rclick 教师 2 1"); // L2, class B2
    take();

    run("delete 教师");

    EXPECT_EQ(writes(), QStringList{sql::deleteLesson("L2")});
    EXPECT_EQ(cell(T, 2, 1).Tag, "");
    expectBack(T, color::White);
    expectEmptyGrid(C);
    EXPECT_EQ(hoursLeft("lstBj", "P3"), "4");
    EXPECT_EQ(hoursLeft("lstJs", "P3"), "4");
}

TEST_P(RemovalTest, EachButtonScansOnlyItsOwnGrid)
{
    run("pick cmbBj 0");
    run("rclick 班级 1 3");
    take();
    run("delete 教师");
    EXPECT_TRUE(writes().isEmpty());
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    EXPECT_TRUE(cell(T, 1, 3).Tag.startsWith("L1\t"));

    // A plan item's analysis marks no lesson to remove either.
    run("item lstBj " + QString::number(planRow("lstBj", "P5")));
    take();
    run("delete 班级");
    EXPECT_TRUE(writes().isEmpty());
    EXPECT_EQ(kcb().size(), 6);
}

TEST_P(RemovalTest, SelectorWithoutCurrentEntryKeepsItsList)
{
    run("pick cmbBj 0");
    run("rclick 班级 1 3");
    const size_t teacherItems = surface().lstJs.ListItems.size();
    ASSERT_GT(teacherItems, 0u);
    surface().cmbJs.Clear();
    take();

    run("delete 班级");

    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_EQ(writes(), QStringList{sql::deleteLesson("L1")});
    EXPECT_EQ(surface().lstJs.ListItems.size(), teacherItems);
    EXPECT_EQ(hoursLeft("lstBj", "P1"), "4");
    EXPECT_EQ(cell(C, 1, 3).Tag, "");
    expectBack(C, color::White);
}

TEST_P(RemovalTest, FailedDeleteIsShownAndLeavesEverythingInPlace)
{
    run("pick cmbBj 0");
    run("rclick 班级 1 3");
    const QStringList before = kcb();
    failExecute(1);

    run("delete 班级");

    expectOneWarning(QStringLiteral("磁盘已满"));
    expectHostUsable();
    EXPECT_EQ(kcb(), before);
    EXPECT_TRUE(cell(C, 1, 3).Tag.startsWith("L1\t"));
    EXPECT_TRUE(cell(T, 1, 3).Tag.startsWith("L1\t"));
}

KBTZ_ON_EVERY_ENGINE(RemovalTest);

} // namespace

#include "adjust_fixture.h"

namespace {

using RemovalTest = AdjustTest;

TEST_P(RemovalTest, EachButtonDeletesTheAnalysedLessonOfItsOwnGrid)
{
    run("pick cmbBj 0");
    EXPECT_EQ(hoursLeft("lstBj", "P1"), "3");
    run("rclick 班级 1 3");
    run("delete 教师", true); // scans the teacher grid, where nothing is green
    EXPECT_TRUE(writes().isEmpty());

    run("delete 班级", true);
    EXPECT_EQ(writes(), QStringList{sql::deleteLesson("L1")});
    EXPECT_EQ(kcb().size(), 5);
    EXPECT_EQ(cell(C, 1, 3).Tag + cell(C, 1, 3).Caption, "");
    EXPECT_TRUE(cell(C, 1, 1).Tag.startsWith("L3\t"));
    expectBack(C, color::White);
    for (int d = 1; d <= 7; ++d)
        for (int k = 1; k <= 8; ++k)
            EXPECT_EQ(cell(T, d, k).Tag + cell(T, d, k).Caption, "") << d << ":" << k;
    EXPECT_EQ(hoursLeft("lstBj", "P1"), "4");
    EXPECT_EQ(hoursLeft("lstJs", "P1"), "4");
    run("delete 班级", true);
    EXPECT_TRUE(writes().isEmpty());

    run("pick cmbJs 0");
    run("rclick 教师 2 1"); // L2, class B2
    run("delete 教师", true);
    EXPECT_EQ(writes(), QStringList{sql::deleteLesson("L2")});
    EXPECT_EQ(cell(T, 2, 1).Tag, "");
    expectBack(T, color::White);
    EXPECT_EQ(cell(C, 1, 3).Tag, "");
    EXPECT_EQ(hoursLeft("lstBj", "P3"), "4");
    EXPECT_TRUE(control().messages().take().empty());
}

TEST_P(RemovalTest, SelectorWithoutCurrentEntryKeepsItsList)
{
    runAll({"pick cmbBj 0", "rclick 班级 1 3"});
    const size_t teacherItems = surface().lstJs.ListItems.size();
    ASSERT_GT(teacherItems, 0u);
    surface().cmbJs.Clear();
    run("delete 班级", true);
    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_EQ(writes(), QStringList{sql::deleteLesson("L1")});
    EXPECT_EQ(surface().lstJs.ListItems.size(), teacherItems);
    EXPECT_EQ(hoursLeft("lstBj", "P1"), "4");
    expectBack(C, color::White);
}

KBTZ_ON_EVERY_ENGINE(RemovalTest);

} // namespace

#include "adjust_fixture.h"

#include "store/statements.h"

namespace {

const QString kTeacherMsg = QStringLiteral("[教师]已在此课节被设定不能排课");
const QString kClassMsg = QStringLiteral("[该班级]已在此课节被设定不能排课");
const QString kCourseMsg = QStringLiteral("[该课程]已在此课节被设定不能排课");

using AnalysisTest = AdjustTest;

TEST_P(AnalysisTest, ClassLessonBlocksTeacherClashesAndFollowsItsTeacher)
{
    run("pick cmbBj 0");
    take();
    const QStringList before = kcb();
    run("rclick 班级 1 3");

    // L1: teacher T1 at Monday 3. T1 teaches Tuesday 1 (other class) and
    // Wednesday 2; T3 teaches at Monday 3 too, so the class's T3 lesson
    // (Thursday 4) cannot trade places with it either.
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    for (Slot s : {Slot{2, 1}, Slot{3, 2}, Slot{4, 4}})
        EXPECT_EQ(cell(C, s.first, s.second).BackColor, color::White) << s.first << ":" << s.second;
    expectBack(C, color::Available, {{1, 3}, {2, 1}, {3, 2}, {4, 4}});
    EXPECT_EQ(cell(C, 1, 3).ForeColor, color::Related);
    EXPECT_EQ(cell(C, 3, 2).ForeColor, color::Related);
    EXPECT_EQ(cell(C, 1, 1).ForeColor, color::Black);
    EXPECT_EQ(cell(C, 4, 4).ForeColor, color::Black);

    const std::vector<TraceEntry> sent = statements();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].text, sql::clashSet("X1", "B1", "T1", " 星期=1 and 课节=3"));
    EXPECT_EQ(sent[0].cursorType, CursorType::Static);
    EXPECT_EQ(sent[0].lockType, LockType::ReadOnly);
    EXPECT_EQ(sent[1].text, sql::teacherSettings("T1", "X1"));
    EXPECT_EQ(sent[2].text, sql::classSettings("B1", "X1"));
    EXPECT_EQ(sent[3].text, sql::courseSettings("K1", "X1"));

    // The other side: teacher T1 in the selector, the analysis armed the capture.
    EXPECT_EQ(surface().cmbJs.ListIndex(), 0);
    EXPECT_TRUE(cell(T, 2, 1).Tag.startsWith("L2\t"));
    EXPECT_TRUE(context().CaptureDragSource);
    expectHostUsable();
    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_EQ(kcb(), before);
}

TEST_P(AnalysisTest, TeacherLessonIsAnalysedOnTheTeacherGridAndBringsItsClass)
{
    run("pick cmbJs 0");
    run("rclick 教师 2 1");

    // All of T1's lessons clash; L2 (class B2) is the analysed one.
    EXPECT_EQ(cell(T, 2, 1).BackColor, color::AnalysedLesson);
    EXPECT_EQ(cell(T, 1, 3).BackColor, color::White);
    EXPECT_EQ(cell(T, 3, 2).BackColor, color::White);
    expectBack(T, color::Available, {{2, 1}, {1, 3}, {3, 2}});
    EXPECT_EQ(cell(T, 2, 1).ForeColor, color::Related);
    EXPECT_EQ(cell(T, 1, 3).ForeColor, color::Black);
    EXPECT_EQ(surface().cmbBj.ListIndex(), 1);
    EXPECT_TRUE(cell(C, 1, 3).Tag.startsWith("L4\t"));
}

TEST_P(AnalysisTest, EmptyCellClickChangesNothing)
{
    run("pick cmbBj 0");
    run("item lstBj " + QString::number(planRow("lstBj", "P5")));
    ASSERT_FALSE(context().CaptureDragSource);
    std::vector<std::int32_t> colours;
    for (int d = 1; d <= 7; ++d)
        for (int k = 1; k <= 8; ++k)
            colours.push_back(cell(C, d, k).BackColor);
    const int teacher = surface().cmbJs.ListIndex();
    take();

    run("rclick 班级 7 8");

    EXPECT_TRUE(statements().empty());
    size_t i = 0;
    for (int d = 1; d <= 7; ++d)
        for (int k = 1; k <= 8; ++k)
            EXPECT_EQ(cell(C, d, k).BackColor, colours[i++]);
    EXPECT_EQ(surface().cmbJs.ListIndex(), teacher);
    EXPECT_FALSE(context().CaptureDragSource);
}

TEST_P(AnalysisTest, PlanItemMarksFreeCellsOnlyAndNoAnalysedLesson)
{
    run("pick cmbBj 0");
    run("item lstBj " + QString::number(planRow("lstBj", "P5")));

    // P5: class B1 with teacher T3. Every lesson of B1 and T3's Monday 3 in B2.
    expectBack(C, color::Available, {{1, 1}, {1, 3}, {3, 2}, {4, 4}});
    for (Slot s : {Slot{1, 1}, Slot{1, 3}, Slot{3, 2}, Slot{4, 4}})
        EXPECT_EQ(cell(C, s.first, s.second).BackColor, color::White);
    EXPECT_FALSE(context().CaptureDragSource);
    expectHostUsable();
}

TEST_P(AnalysisTest, ForbiddenPeriodsWarnWithTheirOwnersInTheTooltip)
{
    db->execAll({
        // The later Monday entry of the teacher clears the earlier one's tooltip.
        "insert into sz_js values ('X1','T1','1:6/1:5/',0)",
        "insert into sz_bj values ('X1','B1','6:7/6:7/2:1/')",
        "insert into sz_kc values ('X1','K1','1:5/6:7/2:1/1:1/7:03/8:2/0:3//',0,0,0)",
    });
    run("pick cmbBj 0");
    run("rclick 班级 1 3");

    EXPECT_EQ(cell(C, 1, 5).BackColor, color::Warned);
    EXPECT_EQ(cell(C, 1, 5).ToolTipText, kTeacherMsg + " / " + kCourseMsg);
    EXPECT_EQ(cell(C, 1, 6).BackColor, color::Warned);
    EXPECT_EQ(cell(C, 1, 6).ToolTipText, "");
    EXPECT_EQ(cell(C, 6, 7).BackColor, color::Warned);
    EXPECT_EQ(cell(C, 6, 7).ToolTipText, " / " + kClassMsg + " / " + kCourseMsg);
    // A clash wins over a warning but keeps its reason.
    EXPECT_EQ(cell(C, 2, 1).BackColor, color::White);
    EXPECT_EQ(cell(C, 2, 1).ToolTipText, " / " + kClassMsg + " / " + kCourseMsg);
    // The course's Monday 1 holds another lesson that may trade places.
    EXPECT_EQ(cell(C, 1, 1).BackColor, color::Warned);
    EXPECT_EQ(cell(C, 1, 1).ToolTipText, " / " + kCourseMsg);
    // 7:03, 8:2 and 0:3 name no cell.
    EXPECT_EQ(cell(C, 7, 3).BackColor, color::Available);
    EXPECT_EQ(cell(C, 7, 3).ToolTipText, "");
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    expectBack(C, color::Available, {{1, 5}, {1, 6}, {6, 7}, {2, 1}, {1, 1}, {1, 3}, {3, 2}, {4, 4}});
    EXPECT_TRUE(control().messages().take().empty());
}

TEST_P(AnalysisTest, NullForbiddenPeriodsForbidNothing)
{
    db->execAll({
        "insert into sz_js values ('X1','T1','1:5/',0)",
        "insert into sz_bj values ('X1','B1',null)",
        "insert into sz_kc values ('X1','K1',null,0,0,0)",
    });
    run("pick cmbBj 0");
    run("rclick 班级 1 3");

    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_EQ(cell(C, 1, 5).BackColor, color::Warned);
    EXPECT_EQ(cell(C, 1, 5).ToolTipText, kTeacherMsg);
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    EXPECT_EQ(cell(C, 2, 1).BackColor, color::White);
}

TEST_P(AnalysisTest, FailureLeavesTheLessonUnmarkedAndTheHostUsable)
{
    // A lesson of T1 in period 0, which the grids never show.
    db->exec("insert into kcb values ('L9','P3',5,0)");
    run("pick cmbBj 0");
    take();
    run("rclick 班级 1 3");

    const auto shown = control().messages().take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, QStringLiteral("警告"));
    EXPECT_EQ(shown[0].style, 64);
    expectHostUsable();
    EXPECT_NE(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    // The click still brings the teacher and arms the capture.
    EXPECT_EQ(surface().cmbJs.ListIndex(), 0);
    EXPECT_TRUE(context().CaptureDragSource);

    // Nothing is green, so nothing can be removed.
    take();
    run("delete 班级");
    EXPECT_TRUE(writes().isEmpty());
}

KBTZ_ON_EVERY_ENGINE(AnalysisTest);

} // namespace

#include "adjust_fixture.h"

#include <map>

namespace {

const QString kTeacherMsg = QStringLiteral("[教师]已在此课节被设定不能排课");
const QString kClassMsg = QStringLiteral("[该班级]已在此课节被设定不能排课");
const QString kCourseMsg = QStringLiteral("[该课程]已在此课节被设定不能排课");

using AnalysisTest = AdjustTest;

TEST_P(AnalysisTest, ClassLessonBlocksTeacherClashesAndFollowsItsTeacher)
{
    run("pick cmbBj 0");
    run("rclick 班级 1 3", true); // L1: T1 at Monday 3

    // T1 teaches Tuesday 1 (class B2) and Wednesday 2; T3 teaches at Monday 3
    // too, so B1's T3 lesson (Thursday 4) cannot trade places with L1.
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    for (Slot s : {Slot{2, 1}, Slot{3, 2}, Slot{4, 4}})
        EXPECT_EQ(cell(C, s.first, s.second).BackColor, color::White) << s.first << ":" << s.second;
    expectBack(C, color::Available, {{1, 3}, {2, 1}, {3, 2}, {4, 4}});
    EXPECT_EQ(cell(C, 3, 2).ForeColor, color::Related);
    EXPECT_EQ(cell(C, 4, 4).ForeColor, color::Black);

    const auto sent = statements();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[0].text, sql::clashSet("X1", "B1", "T1", " 星期=1 and 课节=3"));
    EXPECT_EQ(sent[0].cursorType, CursorType::Static);
    EXPECT_EQ(sent[0].lockType, LockType::ReadOnly);
    EXPECT_EQ(sent[1].text, sql::teacherSettings("T1", "X1"));
    EXPECT_EQ(sent[2].text, sql::classSettings("B1", "X1"));
    EXPECT_EQ(sent[3].text, sql::courseSettings("K1", "X1"));
    // Following the lesson's teacher fills the teacher grid, the plan list, and the grid again.
    const QString teacherWeek = sql::gridFill("X1", sql::teacherFilter("T1"));
    EXPECT_EQ(sent[4].text, teacherWeek);
    EXPECT_EQ(sent[5].text, sql::planListFill(context().PlanViewSql, sql::teacherPlanCondition("T1")));
    EXPECT_EQ(sent[6].text, teacherWeek);
    EXPECT_EQ(surface().cmbJs.ListIndex(), 0);
    EXPECT_TRUE(cell(T, 2, 1).Tag.startsWith("L2\t"));
    EXPECT_TRUE(context().CaptureDragSource);
    EXPECT_TRUE(control().messages().take().empty());
}

TEST_P(AnalysisTest, PlanItemMarksOnlyFreeCellsAndAnEmptyCellClickChangesNothing)
{
    runAll({"pick cmbBj 0", "item lstBj {P5}"}); // B1 with T3

    // Every lesson of B1 is blocked, and so is T3's Monday 3 in B2; nothing is green.
    expectBack(C, color::Available, {{1, 1}, {1, 3}, {3, 2}, {4, 4}});
    for (Slot s : {Slot{1, 1}, Slot{1, 3}, Slot{3, 2}, Slot{4, 4}})
        EXPECT_EQ(cell(C, s.first, s.second).BackColor, color::White);
    EXPECT_FALSE(context().CaptureDragSource);

    run("rclick 班级 7 8", true);
    EXPECT_TRUE(statements().empty());
    expectBack(C, color::Available, {{1, 1}, {1, 3}, {3, 2}, {4, 4}});
    EXPECT_EQ(surface().cmbJs.ListIndex(), -1);
    EXPECT_FALSE(context().CaptureDragSource);
}

TEST_P(AnalysisTest, ForbiddenPeriodsWarnAndNameTheirOwners)
{
    db->execAll({
        // The later Monday entry of the teacher clears the earlier one's tooltip.
        "insert into sz_js values ('X1','T1','1:6/1:5/',0)",
        "insert into sz_bj values ('X1','B1','6:7/6:7/2:1/')",
        "insert into sz_kc values ('X1','K1','1:5/6:7/2:1/1:1/7:03/8:2/0:3//',0,0,0)",
    });
    runAll({"pick cmbBj 0", "rclick 班级 1 3"});

    const std::map<Slot, QString> warned{
        {{1, 5}, kTeacherMsg + " / " + kCourseMsg},
        {{1, 6}, ""},
        {{6, 7}, " / " + kClassMsg + " / " + kCourseMsg},
        {{1, 1}, " / " + kCourseMsg}, // another lesson there may still trade places
    };
    for (const auto& [s, tip] : warned) {
        EXPECT_EQ(cell(C, s.first, s.second).BackColor, color::Warned) << s.first << ":" << s.second;
        EXPECT_EQ(cell(C, s.first, s.second).ToolTipText, tip) << s.first << ":" << s.second;
    }
    // A clash wins over a warning, named before its reason; 7:03 names no period.
    EXPECT_EQ(cell(C, 2, 1).BackColor, color::White);
    EXPECT_EQ(cell(C, 2, 1).ToolTipText,
              QStringLiteral("A张 此时在 2班 上 数学") + " / " + kClassMsg + " / " + kCourseMsg);
    EXPECT_EQ(cell(C, 7, 3).BackColor, color::Available);
    expectBack(C, color::Available, {{1, 5}, {1, 6}, {6, 7}, {1, 1}, {2, 1}, {1, 3}, {3, 2}, {4, 4}});

    // Null texts of the class and the course forbid nothing and leave the teacher's.
    db->execAll({"update sz_bj set 不排课节=null", "update sz_kc set 不排课节=null"});
    runAll({"pick cmbBj 0", "rclick 班级 1 3"});
    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    EXPECT_EQ(cell(C, 1, 5).ToolTipText, kTeacherMsg);
    EXPECT_EQ(cell(C, 2, 1).ToolTipText, QStringLiteral("A张 此时在 2班 上 数学"));
}

KBTZ_ON_EVERY_ENGINE(AnalysisTest);

} // namespace

#include "adjust/plan_item_click.h"
#include "control/qx_mavowin.h"
#include "plan/plan_list.h"
#include "store/control_error.h"
#include "store/plan_statements.h"
#include "support/small_school.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

class PlanListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        insertSmallSchool(db);
        // Settings of the mathematics course and of A张 only.
        db.execAll(
            {"insert into sz_kc values ('X1','K1','2:3\t4/',5,2,0)", "insert into sz_js values ('X1','T1','','1')"});
        c.attach(db.db());
        c.session().XnId = QStringLiteral("X1");
        c.context().PlanViewSql = sql::planView(1, QStringLiteral("X1"));
        AddPlanColumns(c.surface().lstBj);
        AddPlanColumns(c.surface().lstJs);
    }

    ListView& lstBj() { return c.surface().lstBj; }
    ListView& lstJs() { return c.surface().lstJs; }
    const ListItem& item(ListView& list, const QString& course)
    {
        for (const ListItem& i : list.ListItems)
            if (i.Text == course)
                return i;
        throw std::runtime_error("no item");
    }

    TempDb db;
    QX_MavoWin c;
};

TEST(ForbiddenPeriodText, PutsEachEntryOnALineAndEveryPeriodBefore节)
{
    EXPECT_EQ(ForbiddenPeriodText(""), "");
    EXPECT_EQ(ForbiddenPeriodText("2:3\t4/"), "不排课节:节\r\n 星期2:3节 4节 ");
    EXPECT_EQ(ForbiddenPeriodText("1:1/3:2\t5/"), "不排课节:节\r\n 星期1:1节\r\n 星期3:2节 5节 ");
}

TEST_F(PlanListTest, FillListsTheItemsWithHoursLeftAndTheHelpTextInEveryColumn)
{
    FillPlanList(c.state(), sql::classPlanCondition("B1"), lstBj());
    FillPlanList(c.state(), sql::classPlanCondition("B1"), lstBj()); // a refill replaces the entries
    ASSERT_EQ(lstBj().ListItems.size(), 3u);
    const ListItem& maths = item(lstBj(), "数学");
    EXPECT_EQ(maths.Tag, "P1\tB1\tT1\tK1");
    EXPECT_EQ(maths.SubItems, (std::vector<QString>{"1班", "A张", "3", "数学组", "高中", "高一", "5"}));
    EXPECT_EQ(maths.ToolTipText, "课程名:数学: 排课优先级:5\r\n不排课节:节\r\n 星期2:3节 4节 \r\n同时排班数:2"
                                 "\r\n每天最上课节数:1000\r\n班级:1班:\r\n\r\n教师:A张:\r\n\r\n是否连排:是");
    // No settings rows at all: the view's 1000s, empty forbidden periods, no 连排.
    EXPECT_EQ(item(lstBj(), "语文").ToolTipText,
              "课程名:语文:\r\n\r\n同时排班数:1000\r\n每天最上课节数:1000\r\n班级:1班:\r\n\r\n教师:B李:\r\n\r\n");

    FillPlanList(c.state(), sql::teacherPlanCondition("T1"), lstJs()); // a teacher's list spans classes
    EXPECT_EQ(lstJs().ListItems.size(), 2u);
    FillPlanList(c.state(), sql::classPlanCondition("B9"), lstBj());
    EXPECT_TRUE(lstBj().ListItems.empty());

    // Every column after the first fills a sub-item.
    AddPlanColumns(lstBj());
    ASSERT_EQ(lstBj().ColumnHeaders.size(), 16u);
    FillPlanList(c.state(), sql::teacherPlanCondition("T2"), lstBj());
    ASSERT_EQ(lstBj().ListItems.size(), 1u);
    EXPECT_EQ(lstBj().ListItems[0].SubItems,
              (std::vector<QString>{"1班", "B李", "4", "语文组", "高中", "高一", "5", "语文", "1班", "B李", "4",
                                    "语文组", "高中", "高一", "5"}));
}

TEST_F(PlanListTest, ItemClickShowsTheHelpOverTheOtherListUnlessNoHoursAreLeft)
{
    Surface& s = c.surface();
    FillPlanList(c.state(), sql::classPlanCondition("B1"), lstBj());
    FillPlanList(c.state(), sql::teacherPlanCondition("T1"), lstJs());
    // The move analysis is another unit's; what the click does before it is checked here.
    auto click = [&](ListView& list, int row) {
        try {
            ShowPlanItemHelp(c.state(), list, row);
        } catch (const ControlError&) {}
    };

    // Lowered on screen by a drop; text that is no number counts the same.
    c.context().CaptureDragSource = true;
    for (const QString& left : {QStringLiteral("0"), QStringLiteral(""), QStringLiteral("无")}) {
        ListItem saved = lstBj().ListItems[0];
        lstBj().ListItems[0].setSubItem(3, left);
        EXPECT_NO_THROW(ShowPlanItemHelp(c.state(), lstBj(), 0)) << left.toStdString();
        EXPECT_FALSE(s.txtHelp.Visible);
        EXPECT_TRUE(c.context().CaptureDragSource);
        lstBj().ListItems[0] = saved;
    }

    click(lstBj(), 1);
    EXPECT_EQ(lstBj().SelectedIndex, 1);
    EXPECT_TRUE(s.txtHelp.Visible);
    EXPECT_EQ(s.txtHelp.Text, lstBj().ListItems[1].ToolTipText);
    EXPECT_EQ(s.txtHelp.Left, 7365);
    EXPECT_EQ(s.txtHelp.Width, 7365);
    EXPECT_FALSE(c.context().CaptureDragSource);

    click(lstJs(), 0);
    EXPECT_EQ(s.txtHelp.Text, lstJs().ListItems[0].ToolTipText);
    EXPECT_EQ(s.txtHelp.Left, 60);
    EXPECT_EQ(s.txtHelp.Width, 7335);
    EXPECT_EQ(s.txtHelp.Top, 7740);

    HelpClicked(c.state());
    EXPECT_FALSE(s.txtHelp.Visible);
    EXPECT_THROW(ShowPlanItemHelp(c.state(), lstJs(), 5), ControlError);
}

} // namespace

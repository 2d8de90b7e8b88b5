#include "control/qx_mavowin.h"
#include "plan/plan_list.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/statements.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

class PlanListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.execAll({
            "insert into sz_xn values ('X1','2005-2006','2','课表')",
            "insert into info_bj values ('B1','高一1班','高一','高中','理')",
            "insert into info_bj values ('B2','高一2班','高一','高中','文')",
            "insert into info_js values ('T1','张三','ZS','数学组')",
            "insert into info_js values ('T2','李四','LS','语文组')",
            "insert into info_kc values ('K1','数学','数')",
            "insert into info_kc values ('K2','语文','语')",
            "insert into info_jxjh values ('P1','X1','B1','T1','K1',4)",
            "insert into info_jxjh values ('P2','X1','B1','T2','K2',2)",
            "insert into info_jxjh values ('P3','X1','B2','T1','K1',4)",
            "insert into kcb values ('L1','P1',1,1)",
            // Settings of the mathematics course and of 张三 only.
            "insert into sz_kc values ('X1','K1','2:3\t4/',5,2,0)",
            "insert into sz_js values ('X1','T1','','1')",
        });
        c.attach(db.db());
        c.conn().setTraceEnabled(true);
        c.context().XnId = QStringLiteral("X1");
        c.context().PlanViewSql = sql::planView(1, QStringLiteral("X1"));
        AddPlanColumns(c.surface().lstBj);
        AddPlanColumns(c.surface().lstJs);
    }

    ListView& lstBj() { return c.surface().lstBj; }
    ListView& lstJs() { return c.surface().lstJs; }

    // The move analysis is another unit's; what the click does before it is
    // what is checked here.
    void click(ListView& list, int row)
    {
        try {
            ShowPlanItemHelp(c, list, row);
        } catch (const ControlError&) {
        }
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

TEST_F(PlanListTest, FillListsTheItemsWithHoursLeft)
{
    FillPlanList(c, sql::classPlanCondition("B1"), lstBj());
    const TraceEntry& read = c.context().Conn->trace().back();
    EXPECT_EQ(read.text, "select * from " + c.context().PlanViewSql + " where  bj_id='B1' ");
    EXPECT_EQ(read.cursorLocation, CursorLocation::Client);
    EXPECT_EQ(read.cursorType, CursorType::Static);
    EXPECT_EQ(read.lockType, LockType::ReadOnly);

    ASSERT_EQ(lstBj().ListItems.size(), 2u);
    const ListItem* maths = &lstBj().ListItems[0];
    if (maths->Tag.startsWith("P2"))
        maths = &lstBj().ListItems[1];
    EXPECT_EQ(maths->Text, "数学");
    EXPECT_EQ(maths->Tag, "P1\tB1\tT1\tK1");
    EXPECT_EQ(maths->SubItems, (std::vector<QString>{"高一1班", "张三", "3", "数学组", "高中", "高一", "4"}));

    // A refill replaces the entries; a teacher's list spans classes.
    FillPlanList(c, sql::classPlanCondition("B1"), lstBj());
    EXPECT_EQ(lstBj().ListItems.size(), 2u);
    FillPlanList(c, sql::teacherPlanCondition("T1"), lstJs());
    ASSERT_EQ(lstJs().ListItems.size(), 2u);
    FillPlanList(c, sql::classPlanCondition("B9"), lstBj());
    EXPECT_TRUE(lstBj().ListItems.empty());
}

TEST_F(PlanListTest, EveryColumnAfterTheFirstFillsASubItem)
{
    ASSERT_EQ(lstBj().ColumnHeaders.size(), 8u);
    AddPlanColumns(lstBj());
    ASSERT_EQ(lstBj().ColumnHeaders.size(), 16u);
    EXPECT_EQ(lstBj().ColumnHeaders[10].Text, "教师姓名");

    FillPlanList(c, sql::teacherPlanCondition("T2"), lstBj());
    ASSERT_EQ(lstBj().ListItems.size(), 1u);
    EXPECT_EQ(lstBj().ListItems[0].SubItems,
              (std::vector<QString>{"高一1班", "李四", "2", "语文组", "高中", "高一", "2", "语文", "高一1班", "李四",
                                    "2", "语文组", "高中", "高一", "2"}));
}

TEST_F(PlanListTest, HelpTextShowsTheSettingsOfCourseClassAndTeacher)
{
    FillPlanList(c, sql::classPlanCondition("B1"), lstBj());
    QString maths, chinese;
    for (const ListItem& item : lstBj().ListItems)
        (item.Text == "数学" ? maths : chinese) = item.ToolTipText;

    EXPECT_EQ(maths, "课程名:数学: 排课优先级:5\r\n"
                     "不排课节:节\r\n 星期2:3节 4节 \r\n"
                     "同时排班数:2\r\n"
                     "每天最上课节数:1000\r\n"
                     "班级:高一1班:\r\n"
                     "\r\n"
                     "教师:张三:\r\n"
                     "\r\n"
                     "是否连排:是");
    // No settings rows at all: the view's 1000s, empty forbidden periods, no 连排.
    EXPECT_EQ(chinese, "课程名:语文:\r\n"
                       "\r\n"
                       "同时排班数:1000\r\n"
                       "每天最上课节数:1000\r\n"
                       "班级:高一1班:\r\n"
                       "\r\n"
                       "教师:李四:\r\n"
                       "\r\n");
}

TEST_F(PlanListTest, ItemClickShowsTheHelpOverTheOtherList)
{
    Surface& s = c.surface();
    c.context().CaptureDragSource = true;
    FillPlanList(c, sql::classPlanCondition("B1"), lstBj());
    FillPlanList(c, sql::teacherPlanCondition("T1"), lstJs());

    click(lstBj(), 1);
    EXPECT_EQ(lstBj().SelectedIndex, 1);
    EXPECT_TRUE(s.txtHelp.Visible);
    EXPECT_EQ(s.txtHelp.Text, lstBj().ListItems[1].ToolTipText);
    EXPECT_EQ(s.txtHelp.Left, 7365);
    EXPECT_EQ(s.txtHelp.Width, 7365);
    EXPECT_EQ(s.txtHelp.Top, 7740);
    EXPECT_FALSE(c.context().CaptureDragSource);

    click(lstJs(), 0);
    EXPECT_EQ(s.txtHelp.Text, lstJs().ListItems[0].ToolTipText);
    EXPECT_EQ(s.txtHelp.Left, 60);
    EXPECT_EQ(s.txtHelp.Width, 7335);
    EXPECT_EQ(s.txtHelp.Top, 7740);

    HelpClicked(c);
    EXPECT_FALSE(s.txtHelp.Visible);
    EXPECT_THROW(ShowPlanItemHelp(c, lstJs(), 5), ControlError);
}

TEST_F(PlanListTest, ItemWithoutHoursLeftIgnoresClicks)
{
    Surface& s = c.surface();
    FillPlanList(c, sql::classPlanCondition("B1"), lstBj());
    c.context().CaptureDragSource = true;
    // Lowered on screen by a drop; text that is no number counts the same.
    for (const QString& left : {QStringLiteral("0"), QStringLiteral(""), QStringLiteral("无")}) {
        lstBj().ListItems[0].setSubItem(3, left);
        EXPECT_NO_THROW(ShowPlanItemHelp(c, lstBj(), 0)) << left.toStdString();
        EXPECT_FALSE(s.txtHelp.Visible);
        EXPECT_TRUE(c.context().CaptureDragSource);
    }
}

} // namespace

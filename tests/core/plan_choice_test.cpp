#include "control/colors.h"
#include "control/host_window.h"
#include "control/qx_mavowin.h"
#include "plan/selectors.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/value_text.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

// Start-up and the choices of a class or teacher, through the whole control.
class ChoiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.execAll({
            "insert into sz_xn values ('X1','2005-2006','2','课表')",
            "insert into sz_xn_rq values ('X1',1,'2','2','0')",
            "insert into info_bj values ('B2','高一2班','高一','高中','文')",
            "insert into info_bj values ('B1','高一1班','高一','高中','理')",
            "insert into info_bj values ('B3','初一1班','初一','初中',null)",
            "insert into info_js values ('T2','李四','LS','语文组')",
            "insert into info_js values ('T1','张三','ZS','数学组')",
            "insert into info_kc values ('K1','数学','数')",
            "insert into info_jxjh values ('P1','X1','B1','T1','K1',4)",
            "insert into info_jxjh values ('P2','X1','B3','T2','K1',2)",
            "insert into kcb values ('L1','P1',2,3)",
            "insert into kcb values ('L2','P2',1,1)",
        });
    }

    QVariant start(const QString& schoolYear = "2005-2006")
    {
        return c.QxIni(db.db(), schoolYear, "2", "课表", &host, 1);
    }

    TempDb db;
    HostWindow host;
    QX_MavoWin c;
};

TEST_F(ChoiceTest, StartUpFillsTheSelectorsAndChoosesNothing)
{
    for (const QString& year : {QStringLiteral("2005-2006"), QStringLiteral("1999-2000")}) {
        SCOPED_TRACE(year.toStdString());
        QX_MavoWin fresh;
        const QVariant result = fresh.QxIni(db.db(), year, "2", "课表", &host, 1);
        EXPECT_FALSE(result.isValid());
        const bool found = year == "2005-2006";
        EXPECT_EQ(joinText(fresh.context().XnId), found ? "X1" : "");
        EXPECT_TRUE(fresh.context().PlanViewSql.endsWith(found ? "where temm.xn_id='X1') as tt) as pp "
                                                               : "where temm.xn_id='') as tt) as pp "));
        Surface& s = fresh.surface();
        EXPECT_EQ(s.cmbJb.entries(), (std::vector<QString>{"初中", "高中", ""}));
        EXPECT_EQ(s.cmbNj.ListCount(), 0);
        EXPECT_EQ(s.cmbBj.entries(), (std::vector<QString>{"初一1班", "高一1班", "高一2班"}));
        EXPECT_EQ(s.cmbJs.entries(), (std::vector<QString>{"张三", "李四"}));
        EXPECT_EQ(s.lstBj.ColumnHeaders.size(), 8u);
        EXPECT_EQ(s.lstJs.ColumnHeaders.size(), 8u);
        EXPECT_EQ(s.cmbBj.ListIndex(), -1);
        EXPECT_TRUE(s.lstBj.ListItems.empty());
        EXPECT_TRUE(fresh.context().CaptureDragSource);
    }
}

TEST_F(ChoiceTest, ChoosingAClassOrTeacherShowsItsWeekAndPlan)
{
    start();
    Surface& s = c.surface();
    // Leftover marks of an earlier analysis go with the new choice.
    c.cell("班级", 1, 0).BackColor = color::Available;
    c.cell("班级", 1, 0).ToolTipText = "[教师]已在此课节被设定不能排课";

    s.cmbBj.setListIndex(1); // 高一1班
    EXPECT_EQ(c.cell("班级", 2, 2).Tag, "L1\tB1\tT1\tK1");
    EXPECT_EQ(c.cell("班级", 1, 0).BackColor, color::White);
    EXPECT_EQ(c.cell("班级", 1, 0).ToolTipText, "");
    ASSERT_EQ(s.lstBj.ListItems.size(), 1u);
    EXPECT_EQ(s.lstBj.ListItems[0].Tag, "P1\tB1\tT1\tK1");
    EXPECT_EQ(s.lstBj.ListItems[0].SubItem(3), "3");
    EXPECT_TRUE(s.lstJs.ListItems.empty());

    // By the short code, in lower case.
    s.txtJm.Text = "ls";
    int key = 13;
    c.txtJmKeyPress(key);
    EXPECT_EQ(s.cmbJs.ListIndex(), 1);
    EXPECT_EQ(c.cell("教师", 1, 0).Tag, "L2\tB3\tT2\tK1");
    ASSERT_EQ(s.lstJs.ListItems.size(), 1u);
    EXPECT_EQ(s.lstJs.ListItems[0].Tag, "P2\tB3\tT2\tK1");
    EXPECT_TRUE(c.messages().shown().empty());
}

TEST_F(ChoiceTest, ClassFollowedFromTheTeacherGridLeavesTheNarrowedSelector)
{
    start();
    Surface& s = c.surface();
    s.cmbJs.setListIndex(0); // 张三 teaches 高一1班
    s.cmbJb.setListIndex(0); // 初中
    s.cmbNj.setListIndex(0); // 初一: only 初一1班 left
    ASSERT_EQ(s.cmbBj.ListCount(), 1);

    FollowLessonInSelector(c, c.cell("教师", 2, 2), s.cmbBj, "班级");
    EXPECT_EQ(s.cmbBj.ListCount(), 3);
    EXPECT_EQ(s.cmbBj.Text(), "高一1班");
    EXPECT_EQ(c.cell("班级", 2, 2).Tag, "L1\tB1\tT1\tK1");
    ASSERT_EQ(s.lstBj.ListItems.size(), 1u);
    EXPECT_EQ(s.lstBj.ListItems[0].Text, "数学");
}

TEST_F(ChoiceTest, ChoiceWithoutAnIdStopsBeforeThePlanList)
{
    db.execAll({"delete from info_bj"});
    start();
    Surface& s = c.surface();
    ASSERT_EQ(s.cmbBj.ListCount(), 0);
    ASSERT_EQ(c.context().ClassIds.size(), 1u);
    s.lstBj.AddItem("earlier");

    // Nothing chosen: the grid is reset and its fill reports the fault,
    // then the choice itself fails and the plan list is left as it was.
    EXPECT_THROW(ClassChosen(c), ControlError);
    ASSERT_EQ(c.messages().shown().size(), 1u);
    EXPECT_EQ(c.messages().shown()[0].title, "警告");
    ASSERT_EQ(s.lstBj.ListItems.size(), 1u);
    EXPECT_EQ(s.lstBj.ListItems[0].Text, "earlier");
}

} // namespace

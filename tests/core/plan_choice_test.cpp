#include "state/colors.h"
#include "qxmavowin/host_window.h"
#include "control/qx_mavowin.h"
#include "plan/selectors.h"
#include "store/control_error.h"
#include "store/value_text.h"
#include "support/small_school.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

// Start-up and the choices of a class or teacher, through the whole control.
class ChoiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        insertSmallSchool(db, "2", "2");
        db.exec("insert into info_bj values ('B3','3班','初一','初中',null)"); // a second level
    }

    void start() { c.QxIni(db.db(), "2005-2006", "2", "课表", &host, 1); }

    TempDb db;
    HostWindow host;
    QX_MavoWin c;
};

TEST_F(ChoiceTest, StartUpFillsTheSelectorsAndChoosesNothing)
{
    for (const QString& year : {QStringLiteral("2005-2006"), QStringLiteral("1999-2000")}) {
        SCOPED_TRACE(year.toStdString());
        QX_MavoWin fresh;
        EXPECT_FALSE(fresh.QxIni(db.db(), year, "2", "课表", &host, 1).isValid());
        const QString id = year == "2005-2006" ? "X1" : "";
        EXPECT_EQ(joinText(fresh.session().XnId), id);
        EXPECT_TRUE(fresh.context().PlanViewSql.endsWith("where temm.xn_id='" + id + "') as tt) as pp "));
        Surface& s = fresh.surface();
        EXPECT_EQ(s.cmbJb.entries(), (std::vector<QString>{"初中", "高中", ""}));
        EXPECT_EQ(s.cmbNj.ListCount(), 0);
        EXPECT_EQ(s.cmbBj.ListCount() + s.cmbJs.ListCount(), 6);
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
    c.cell(Side::Class, 2, 0).BackColor = color::Available;
    c.cell(Side::Class, 2, 0).ToolTipText = "[教师]已在此课节被设定不能排课";

    s.cmbBj.setListIndex(1); // 2班
    EXPECT_EQ(c.cell(Side::Class, 2, 0).Tag, "L2\tB2\tT1\tK1");
    EXPECT_EQ(c.cell(Side::Class, 2, 0).BackColor, color::White);
    EXPECT_EQ(c.cell(Side::Class, 2, 0).ToolTipText, "");
    ASSERT_EQ(s.lstBj.ListItems.size(), 2u);
    EXPECT_TRUE(s.lstJs.ListItems.empty());

    s.txtJm.Text = "bl"; // short codes match in any case
    int key = 13;
    c.txtJmKeyPress(key);
    EXPECT_EQ(s.cmbJs.ListIndex(), 1);
    EXPECT_EQ(c.cell(Side::Teacher, 1, 0).Tag, "L3\tB1\tT2\tK2");
    ASSERT_EQ(s.lstJs.ListItems.size(), 1u);
    EXPECT_EQ(s.lstJs.ListItems[0].Tag, "P2\tB1\tT2\tK2");
    EXPECT_EQ(s.lstJs.ListItems[0].SubItem(3), "4");
    EXPECT_TRUE(c.messages().shown().empty());
}

TEST_F(ChoiceTest, ChoiceWithoutAnIdStopsBeforeThePlanList)
{
    db.exec("delete from info_bj");
    start();
    Surface& s = c.surface();
    ASSERT_EQ(c.context().ClassIds.size(), 1u);
    s.lstBj.AddItem("earlier");

    // Nothing chosen: the grid and the plan list are emptied, the fill
    // reports the fault, then the choice itself fails; nothing of an earlier
    // choice stays under the selector.
    EXPECT_THROW(SideChosen(c.state(), Side::Class), ControlError);
    ASSERT_EQ(c.messages().shown().size(), 1u);
    EXPECT_EQ(c.messages().shown()[0].title, "警告");
    EXPECT_TRUE(s.lstBj.ListItems.empty());
}

} // namespace

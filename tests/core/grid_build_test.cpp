#include "state/colors.h"
#include "qxmavowin/host_window.h"
#include "control/qx_mavowin.h"
#include "grid/build_grids.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

// The timetable and its day settings, whose largest morning + afternoon +
// evening sum is n; the other timetable gets more periods, which must not count.
void insertPeriods(TempDb& db, int n)
{
    db.execAll({"insert into sz_xn values ('X1','2005-2006','2','课表')",
                "insert into sz_xn values ('X2','2005-2006','1','课表')"});
    db.exec(QString("insert into sz_xn_rq values ('X1',1,'%1','0','0')").arg(n > 1 ? n - 1 : 0));
    db.exec(QString("insert into sz_xn_rq values ('X1',2,'%1','%2','0')").arg(n / 2).arg(n - n / 2));
    db.exec("insert into sz_xn_rq values ('X2',1,'9','9','9')");
}

class GridBuildTest : public ::testing::Test {
protected:
    GridSurface& classGrid() { return c.surface().classGrid; }
    GridSurface& teacherGrid() { return c.surface().teacherGrid; }

    static void expectRowCount(GridSurface& g, int n)
    {
        for (int d = 1; d <= 7; ++d)
            EXPECT_EQ(g.column(d).Count(), n) << qPrintable(sideName(g.side)) << " weekday " << d;
        EXPECT_EQ(g.headings.Count(), n);
        EXPECT_EQ(g.lines.Count(), n);
    }

    TempDb db;
    HostWindow host;
    QX_MavoWin c;
};

// The class grid truncates the row height to whole twips, the teacher grid
// keeps the fraction. One row is the design row resized: building again is
// allowed; with more rows made, a second build fails and keeps them.
TEST_F(GridBuildTest, RowsAndHeightsFollowThePeriodCountAndOnlyOneRowBuildsAgain)
{
    const struct {
        int n;
        double classHeight, teacherHeight, firstHeadingTop, firstLineY;
        const char* lastHeading;
    } cases[] = {
        {1, 6055, 6055, 3127.5, 120 + 6055 + 89, "第一节"},
        {8, 756, 756.875, 390.9375, 965, "第八节"},
        {15, 403, 6055.0 / 15, -1, -1, "第15节"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.n);
        TempDb fresh;
        QX_MavoWin control;
        insertPeriods(fresh, k.n);
        control.QxIni(fresh.db(), "2005-2006", "2", "课表", &host, 1);
        GridSurface& classGrid = control.surface().classGrid;
        GridSurface& teacherGrid = control.surface().teacherGrid;
        expectRowCount(classGrid, k.n);
        expectRowCount(teacherGrid, k.n);
        EXPECT_EQ(classGrid.column(7)[k.n - 1].Height, k.classHeight);
        EXPECT_DOUBLE_EQ(teacherGrid.column(1)[k.n - 1].Height, k.teacherHeight);
        EXPECT_EQ(classGrid.headings[k.n - 1].Caption, k.lastHeading);
        EXPECT_EQ(teacherGrid.headings[k.n - 1].Caption, k.lastHeading);
        if (k.firstHeadingTop >= 0) {
            EXPECT_DOUBLE_EQ(classGrid.headings[0].Top, k.firstHeadingTop);
            EXPECT_EQ(classGrid.lines[0].Y1, k.firstLineY);
        }
        if (k.n == 1) {
            EXPECT_NO_THROW(BuildGrids(control.state()));
        } else {
            EXPECT_THROW(BuildGrids(control.state()), ControlError);
        }
        expectRowCount(classGrid, k.n);
        expectRowCount(teacherGrid, k.n);
    }
}

TEST_F(GridBuildTest, EightPeriodsGiveTheWorkedExample)
{
    insertPeriods(db, 8);
    c.QxIni(db.db(), "2005-2006", "2", "课表", &host, 1);
    const double classTops[] = {120, 896, 1672, 2448, 3224, 4000, 4776, 5552};
    for (int d = 1; d <= 7; ++d) {
        for (int i = 0; i < 8; ++i) {
            const Label& cell = classGrid().column(d)[i];
            EXPECT_EQ(cell.Top, classTops[i]);
            EXPECT_EQ(cell.Left, 30 + 900 * (d - 1));
            EXPECT_EQ(cell.BackColor, color::White);
            EXPECT_DOUBLE_EQ(teacherGrid().column(d)[i].Top, 120 + i * (756.875 + 20));
            EXPECT_EQ(teacherGrid().column(d)[i].BackColor, color::SystemWindowBackground);
        }
    }
    EXPECT_DOUBLE_EQ(teacherGrid().headings[0].Top, 390.9375);
    EXPECT_EQ(classGrid().headings[1].Top, 1274);
    EXPECT_DOUBLE_EQ(teacherGrid().headings[1].Top, 120 + 756.875 + 20 + 756.875 / 2);

    // Line 0 (its Y the table above checks) and line 1 both lie under period 1; line i under period i.
    for (int i = 1; i < 8; ++i) {
        const Line& line = classGrid().lines[i];
        EXPECT_EQ(line.Y1, classTops[i - 1] + 756 + 89);
        EXPECT_EQ(line.Y2, line.Y1);
        EXPECT_DOUBLE_EQ(teacherGrid().lines[i].Y1, 120 + (i - 1) * 776.875 + 756.875 + 89);
    }
}

// The count is read by the leading-number rule (no count is N = 0: only the
// first heading and Monday cell hide); no row at all leaves the grids as
// designed; a count no day can have is refused before any row is made.
TEST_F(GridBuildTest, TheCountReadDecidesTheRows)
{
    insertPeriods(db, 8);
    const Surface designed;
    const struct {
        const char* read;
        int rows;
        bool mondayVisible, fails;
    } cases[] = {
        {"select ' 3节' as maxs", 3, true, false}, {"select 'none' as maxs", 1, false, false},
        {"select null as maxs", 1, false, false},  {"select 8 as maxs where 0", 1, true, false},
        {"select 40000 as maxs", 1, true, true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.read);
        QX_MavoWin control;
        const QString read = QString::fromUtf8(k.read);
        control.setConnectionSetup(
            [read](Connection& conn) { conn.setRewriter([read](const QString&) { return read; }); });
        control.attach(db.db());
        if (k.fails)
            EXPECT_THROW(BuildGrids(control.state()), ControlError);
        else
            BuildGrids(control.state());
        GridSurface& g = control.surface().teacherGrid;
        expectRowCount(g, k.rows);
        EXPECT_EQ(g.column(1)[0].Visible, k.mondayVisible);
        EXPECT_EQ(g.headings[0].Visible, k.mondayVisible);
        EXPECT_TRUE(g.column(2)[0].Visible);
        if (!k.mondayVisible) {
            EXPECT_EQ(g.column(7)[0].Height, 735);
            EXPECT_EQ(g.headings[0].Top, 390);
            EXPECT_EQ(g.lines[0].Y1, 810);
        } else if (k.rows == 1) {
            EXPECT_EQ(g.headings[0].Top, designed.teacherGrid.headings[0].Top);
            EXPECT_EQ(g.column(1)[0].Height, designed.teacherGrid.columns[0][0].Height);
        }
    }
}

TEST(PeriodNumeral, ChineseUpToFourteenDigitsOtherwise)
{
    const char* expected[] = {"一", "二", "三", "四",   "五",   "六",   "七",
                              "八", "九", "十", "十一", "十二", "十三", "十四"};
    for (int p = 1; p <= 14; ++p)
        EXPECT_EQ(PeriodNumeral(p), QString::fromUtf8(expected[p - 1]));
    EXPECT_EQ(PeriodNumeral(15), "15");
    EXPECT_EQ(PeriodNumeral(0), "0");
}

} // namespace

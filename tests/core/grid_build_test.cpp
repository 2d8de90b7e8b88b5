#include "control/colors.h"
#include "control/host_window.h"
#include "control/qx_mavowin.h"
#include "grid/build_grids.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/statements.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

class GridBuildTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.exec("insert into sz_xn values ('X1','2005-2006','2','课表')");
        db.exec("insert into sz_xn values ('X2','2005-2006','1','课表')");
        c.setConnectionSetup([this](Connection& conn) {
            conn.setTraceEnabled(true);
            if (rewriter)
                conn.setRewriter(rewriter);
        });
        c.context().HostForm = &host;
        c.context().SchoolYear = "2005-2006";
        c.context().Term = "2";
        c.context().ScheduleName = "课表";
        c.context().DataType = 1;
    }

    // Day settings whose largest morning + afternoon + evening sum is n; the
    // other timetable gets more periods, which must not count.
    void setPeriods(int n)
    {
        db.exec(QString("insert into sz_xn_rq values ('X1',1,'%1','0','0')").arg(n > 1 ? n - 1 : 0));
        db.exec(QString("insert into sz_xn_rq values ('X1',2,'%1','%2','0')").arg(n / 2).arg(n - n / 2));
        db.exec("insert into sz_xn_rq values ('X2',1,'9','9','9')");
    }

    void build()
    {
        c.attach(db.db());
        BuildGrids(c);
    }

    GridSurface& classGrid() { return c.surface().classGrid; }
    GridSurface& teacherGrid() { return c.surface().teacherGrid; }

    static void expectRowCount(GridSurface& g, int n)
    {
        for (int d = 1; d <= 7; ++d)
            EXPECT_EQ(g.column(d).Count(), n) << g.kind.toStdString() << " weekday " << d;
        EXPECT_EQ(g.headings.Count(), n);
        EXPECT_EQ(g.lines.Count(), n);
    }

    TempDb db;
    HostWindow host;
    QX_MavoWin c;
    Connection::Rewriter rewriter;
};

TEST_F(GridBuildTest, EightPeriodsAtDesignHeightGiveTheWorkedExample)
{
    setPeriods(8);
    build();

    const auto& trace = c.conn().trace();
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0].text, sql::periodCount(1, "2005-2006", "2", "课表"));
    EXPECT_EQ(trace[0].cursorType, CursorType::Static);
    EXPECT_EQ(trace[0].lockType, LockType::ReadOnly);

    expectRowCount(classGrid(), 8);
    expectRowCount(teacherGrid(), 8);

    const double classTops[] = {120, 896, 1672, 2448, 3224, 4000, 4776, 5552};
    for (int d = 1; d <= 7; ++d) {
        for (int i = 0; i < 8; ++i) {
            const Label& cell = classGrid().column(d)[i];
            EXPECT_EQ(cell.Height, 756);
            EXPECT_EQ(cell.Top, classTops[i]);
            EXPECT_EQ(cell.Left, 30 + 900 * (d - 1));
            EXPECT_TRUE(cell.Visible);
            EXPECT_TRUE(cell.Caption.isEmpty());
            EXPECT_TRUE(cell.Tag.isEmpty());
            EXPECT_EQ(cell.BackColor, color::White);

            const Label& teacherCell = teacherGrid().column(d)[i];
            EXPECT_DOUBLE_EQ(teacherCell.Height, 756.875);
            EXPECT_DOUBLE_EQ(teacherCell.Top, 120 + i * (756.875 + 20));
            EXPECT_EQ(teacherCell.BackColor, color::SystemWindowBackground);
            EXPECT_TRUE(teacherCell.Visible);
        }
    }

    EXPECT_DOUBLE_EQ(classGrid().headings[0].Top, 390.9375);
    EXPECT_DOUBLE_EQ(teacherGrid().headings[0].Top, 390.9375);
    EXPECT_EQ(classGrid().headings[1].Top, 1274);
    EXPECT_DOUBLE_EQ(teacherGrid().headings[1].Top, 120 + 756.875 + 20 + 756.875 / 2);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(classGrid().headings[i].Caption, "第" + PeriodNumeral(i + 1) + "节");
        EXPECT_EQ(teacherGrid().headings[i].Caption, classGrid().headings[i].Caption);
        EXPECT_TRUE(classGrid().headings[i].Visible);
    }

    // Line 0 and line 1 both lie under period 1; line i under period i.
    EXPECT_EQ(classGrid().lines[0].Y1, 965);
    EXPECT_EQ(classGrid().lines[0].Y2, 965);
    for (int i = 1; i < 8; ++i) {
        const Line& line = classGrid().lines[i];
        EXPECT_EQ(line.Y1, classTops[i - 1] + 756 + 89);
        EXPECT_EQ(line.Y2, line.Y1);
        EXPECT_EQ(line.X1, 30);
        EXPECT_EQ(line.X2, 930);
        EXPECT_TRUE(line.Visible);
        EXPECT_DOUBLE_EQ(teacherGrid().lines[i].Y1, 120 + (i - 1) * 776.875 + 756.875 + 89);
    }
}

TEST_F(GridBuildTest, FifteenPeriodsUseDigitsFromPeriodFifteen)
{
    setPeriods(15);
    build();
    expectRowCount(classGrid(), 15);
    expectRowCount(teacherGrid(), 15);
    EXPECT_EQ(classGrid().headings[13].Caption, "第十四节");
    EXPECT_EQ(classGrid().headings[14].Caption, "第15节");
    EXPECT_EQ(teacherGrid().headings[14].Caption, "第15节");
    EXPECT_EQ(classGrid().column(7)[14].Height, 403); // 6055 / 15 = 403.67
    EXPECT_DOUBLE_EQ(teacherGrid().column(7)[14].Height, 6055.0 / 15);
}

// One row is the design row resized: building again is allowed; with more
// rows made, a second build fails and keeps them.
TEST_F(GridBuildTest, OnePeriodResizesTheDesignRowAndCanBeBuiltAgainButTwoCannot)
{
    setPeriods(1);
    build();
    for (int pass = 0; pass < 2; ++pass) {
        expectRowCount(classGrid(), 1);
        expectRowCount(teacherGrid(), 1);
        EXPECT_EQ(classGrid().column(7)[0].Height, 6055);
        EXPECT_EQ(teacherGrid().column(1)[0].Height, 6055);
        EXPECT_DOUBLE_EQ(classGrid().headings[0].Top, 3127.5);
        EXPECT_EQ(classGrid().lines[0].Y1, 120 + 6055 + 89);
        if (pass == 0) {
            EXPECT_NO_THROW(BuildGrids(c));
        }
    }

    db.exec("update sz_xn_rq set 上午='1' where xn_id='X1'");
    BuildGrids(c);
    EXPECT_THROW(BuildGrids(c), ControlError);
    expectRowCount(classGrid(), 2);
    expectRowCount(teacherGrid(), 2);
}

TEST_F(GridBuildTest, NoDaySettingsHideOnlyTheFirstHeadingAndMondayCell)
{
    build(); // maxs is null: N = 0
    for (GridSurface* g : {&classGrid(), &teacherGrid()}) {
        expectRowCount(*g, 1);
        EXPECT_FALSE(g->headings[0].Visible);
        EXPECT_FALSE(g->column(1)[0].Visible);
        for (int d = 2; d <= 7; ++d) {
            EXPECT_TRUE(g->column(d)[0].Visible);
            EXPECT_EQ(g->column(d)[0].Height, 735);
        }
        EXPECT_EQ(g->headings[0].Top, 390);
        EXPECT_EQ(g->lines[0].Y1, 810);
    }
}

TEST_F(GridBuildTest, ReadsThePeriodCountByTheLeadingNumberRule)
{
    rewriter = [](const QString&) { return QStringLiteral("select ' 3节' as maxs"); };
    build();
    expectRowCount(classGrid(), 3);
    expectRowCount(teacherGrid(), 3);

    QX_MavoWin other;
    rewriter = [](const QString&) { return QStringLiteral("select 'none' as maxs"); };
    other.setConnectionSetup([this](Connection& conn) { conn.setRewriter(rewriter); });
    other.attach(db.db());
    BuildGrids(other);
    EXPECT_FALSE(other.surface().classGrid.column(1)[0].Visible);
}

TEST_F(GridBuildTest, NoRowLeavesBothGridsAsDesigned)
{
    rewriter = [](const QString&) { return QStringLiteral("select 8 as maxs where 0"); };
    build();
    const Surface designed;
    for (bool classSide : {true, false}) {
        GridSurface& g = classSide ? classGrid() : teacherGrid();
        const GridSurface& d = classSide ? designed.classGrid : designed.teacherGrid;
        expectRowCount(g, 1);
        EXPECT_TRUE(g.headings[0].Visible);
        EXPECT_EQ(g.headings[0].Top, d.headings[0].Top);
        EXPECT_EQ(g.lines[0].Y1, d.lines[0].Y1);
        for (int w = 1; w <= 7; ++w) {
            EXPECT_TRUE(g.column(w)[0].Visible);
            EXPECT_EQ(g.column(w)[0].Height, d.columns[static_cast<size_t>(w - 1)][0].Height);
        }
    }
}

TEST_F(GridBuildTest, FailuresReachTheCallerWithTheGridsUntouched)
{
    // The SQL Server text is sent for DataType 0; SQLite has no convert().
    setPeriods(8);
    c.context().DataType = 0;
    EXPECT_THROW(build(), DbError);
    EXPECT_EQ(c.conn().trace().at(0).text, sql::periodCount(0, "2005-2006", "2", "课表"));
    expectRowCount(classGrid(), 1);

    // A count no day can have is refused before any row is made.
    QX_MavoWin huge;
    huge.setConnectionSetup([](Connection& conn) { conn.setRewriter([](const QString&) { return QStringLiteral("select 40000 as maxs"); }); });
    huge.attach(db.db());
    EXPECT_THROW(BuildGrids(huge), ControlError);
    EXPECT_EQ(huge.surface().classGrid.column(1).Count(), 1);
    EXPECT_TRUE(huge.surface().classGrid.column(1)[0].Visible);
}

TEST(PeriodNumeral, ChineseUpToFourteenDigitsOtherwise)
{
    const char* expected[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二", "十三", "十四"};
    for (int p = 1; p <= 14; ++p)
        EXPECT_EQ(PeriodNumeral(p), QString::fromUtf8(expected[p - 1]));
    EXPECT_EQ(PeriodNumeral(15), "15");
    EXPECT_EQ(PeriodNumeral(0), "0");
    EXPECT_EQ(PeriodNumeral(-3), "-3");
}

} // namespace

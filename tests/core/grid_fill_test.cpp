#include "control/colors.h"
#include "control/host_window.h"
#include "control/qx_mavowin.h"
#include "grid/build_grids.h"
#include "grid/fill_grid.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/statements.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

// Records every change of the busy state, to see it set and restored.
class RecordingHost : public HostWindow {
public:
    void setMousePointer(int pointer) override
    {
        pointers.push_back(pointer);
        HostWindow::setMousePointer(pointer);
    }
    void setEnabled(bool enabled) override
    {
        enabledStates.push_back(enabled);
        HostWindow::setEnabled(enabled);
    }
    std::vector<int> pointers;
    std::vector<bool> enabledStates;
};

const QString kClass = QStringLiteral("班级");
const QString kTeacher = QStringLiteral("教师");

class GridFillTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.execAll({
            "insert into sz_xn values ('X1','2005-2006','2','课表')",
            "insert into sz_xn values ('X2','2005-2006','1','课表')",
            "insert into sz_xn_rq values ('X1',1,'2','2','0')", // 4 periods
            "insert into info_bj values ('B1','高一1班','高一','高中','理')",
            "insert into info_bj values ('B2','高一2班','高一','高中','理')",
            "insert into info_js values ('T1','张三','ZS','数学组')",
            "insert into info_js values ('T2','李四','LS','语文组')",
            "insert into info_kc values ('K1','数学','数')",
            "insert into info_kc values ('K2','语文','语')",
            "insert into info_jxjh values ('P1','X1','B1','T1','K1',5)",
            "insert into info_jxjh values ('P2','X1','B1','T2','K2',5)",
            "insert into info_jxjh values ('P3','X2','B1','T1','K1',5)", // another timetable
            "insert into info_jxjh values ('P4','X1','B2','T1','K2',5)",
            "insert into kcb values ('L1','P1',1,1)",
            "insert into kcb values ('L2','P2',2,3)",
            "insert into kcb values ('L3','P3',3,2)",
            "insert into kcb values ('L4','P4',1,2)",
            "insert into kcb values ('L5','P1',0,0)",
            "insert into kcb values ('L6','P1',8,4)", // weekday outside 1-7
            "insert into kcb values ('L7','P2',7,4)",
        });
        c.setConnectionSetup([](Connection& conn) { conn.setTraceEnabled(true); });
        c.attach(db.db());
        ScheduleContext& ctx = c.context();
        ctx.HostForm = &host;
        ctx.SchoolYear = "2005-2006";
        ctx.Term = "2";
        ctx.ScheduleName = "课表";
        ctx.DataType = 1;
        ctx.XnId = "X1";
        BuildGrids(c);
        c.conn().takeTrace();

        Surface& s = c.surface();
        // The selectors' own choice handling belongs elsewhere; here a
        // choice only sets the index.
        s.cmbBj.onClick = nullptr;
        s.cmbJs.onClick = nullptr;
        s.cmbBj.AddItem("高一1班");
        s.cmbBj.AddItem("高一2班");
        ctx.ClassIds = {QVariant("B1"), QVariant("B2")};
        s.cmbJs.AddItem("张三");
        s.cmbJs.AddItem("李四");
        ctx.TeacherIds = {QVariant("T1"), QVariant("T2")};
    }

    void fill(const QString& kind, int index)
    {
        c.surface().selector(kind).setListIndex(index);
        FillGrid(c, kind);
    }

    Label& cell(const QString& kind, int weekday, int period) { return c.cell(kind, weekday, period - 1); }

    // Every cell of a grid as "weekday/period=caption|tag", free cells left out.
    QStringList shown(const QString& kind)
    {
        QStringList out;
        GridSurface& g = c.surface().grid(kind);
        for (int d = 1; d <= 7; ++d)
            for (int i = 0; i < g.column(d).Count(); ++i) {
                const Label& l = g.column(d)[i];
                if (!l.Caption.isEmpty() || !l.Tag.isEmpty())
                    out << QString("%1/%2=%3|%4").arg(d).arg(i + 1).arg(l.Caption, l.Tag);
            }
        return out;
    }

    void expectIdle()
    {
        EXPECT_TRUE(host.Enabled());
        EXPECT_EQ(host.MousePointer(), 0);
        EXPECT_EQ(host.pointers, (std::vector<int>{11, 0}));
        EXPECT_EQ(host.enabledStates, (std::vector<bool>{false, true}));
    }

    TempDb db;
    RecordingHost host;
    QX_MavoWin c;
};

TEST_F(GridFillTest, ClassGridShowsTheClassLessonsOfThisTimetable)
{
    // What the grid showed before goes; colours stay.
    cell(kClass, 4, 4).Caption = "old";
    cell(kClass, 4, 4).Tag = "x\ty\tz\tw";
    cell(kClass, 4, 4).BackColor = color::Warned;

    fill(kClass, 0);

    // L3 belongs to another timetable, L5 has period 0, L6 weekday 8.
    EXPECT_EQ(shown(kClass), (QStringList{"1/1=张三\r\n数|L1\tB1\tT1\tK1", "2/3=李四\r\n语|L2\tB1\tT2\tK2",
                                          "7/4=李四\r\n语|L7\tB1\tT2\tK2"}));
    EXPECT_EQ(cell(kClass, 4, 4).BackColor, color::Warned);
    EXPECT_TRUE(c.messages().shown().empty());
    expectIdle();

    const auto trace = c.conn().trace();
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0].cursorType, CursorType::Static);
    EXPECT_EQ(trace[0].lockType, LockType::ReadOnly);
    EXPECT_EQ(trace[0].text,
              QStringLiteral("select kcb.id as kcb_id,bj_id,js_id,kc_id,星期,课节,课程简称,姓名,班级 from kcb left join "
                             "(select info_jxjh.*,info_kc.课程简称 from info_kc right join (select info_jxjh.*,info_js.姓名 "
                             "from info_js right join  (select info_jxjh.*,info_bj.班级 from info_jxjh left join info_bj on "
                             "info_jxjh.bj_id=info_bj.id) as info_jxjh on info_js.id=info_jxjh.js_id) as info_jxjh on "
                             "info_kc.id=info_jxjh.kc_id where info_jxjh.xn_id='X1') as info_jxjh on "
                             "kcb.jxjh_id=info_jxjh.id where bj_id='B1' and 课节>0 order by 星期,课节"));
}

TEST_F(GridFillTest, TeacherGridShowsClassNamesAndFollowsTheTeacherChoice)
{
    fill(kTeacher, 0);
    EXPECT_EQ(shown(kTeacher), (QStringList{"1/1=高一1班\r\n数|L1\tB1\tT1\tK1", "1/2=高一2班\r\n语|L4\tB2\tT1\tK2"}));
    EXPECT_TRUE(c.conn().trace().back().text.contains("where js_id='T1' and 课节>0"));
    EXPECT_TRUE(shown(kClass).isEmpty());

    fill(kTeacher, 1);
    EXPECT_EQ(shown(kTeacher), (QStringList{"2/3=高一1班\r\n语|L2\tB1\tT2\tK2", "7/4=高一1班\r\n语|L7\tB1\tT2\tK2"}));
}

TEST_F(GridFillTest, CheckBoxesShapeTheCaptionButNeverTheTag)
{
    Surface& s = c.surface();
    s.chkJs.Value = 1;
    s.chkKcBj.Value = 0;
    fill(kClass, 0);
    EXPECT_EQ(cell(kClass, 1, 1).Caption, "张三\r\n");

    s.chkJs.Value = 0;
    s.chkKcBj.Value = 1;
    fill(kClass, 0);
    EXPECT_EQ(cell(kClass, 1, 1).Caption, "数");

    // Only Value 1 counts as ticked (2 is the greyed state).
    s.chkJs.Value = 2;
    s.chkKcBj.Value = 0;
    fill(kClass, 0);
    EXPECT_EQ(shown(kClass), (QStringList{"1/1=|L1\tB1\tT1\tK1", "2/3=|L2\tB1\tT2\tK2", "7/4=|L7\tB1\tT2\tK2"}));

    // The teacher grid has boxes of its own.
    s.chkBj.Value = 1;
    s.chkKcJs.Value = 0;
    fill(kTeacher, 0);
    EXPECT_EQ(cell(kTeacher, 1, 2).Caption, "高一2班\r\n");
}

TEST_F(GridFillTest, MissingNamesShowAsEmptyText)
{
    db.execAll({"insert into info_jxjh values ('P9','X1','B1','T9','K9',1)", "insert into kcb values ('L9','P9',3,1)"});
    fill(kClass, 0);
    EXPECT_EQ(cell(kClass, 3, 1).Caption, "\r\n");
    EXPECT_EQ(cell(kClass, 3, 1).Tag, "L9\tB1\tT9\tK9");
}

TEST_F(GridFillTest, TheLaterOfTwoLessonsInOneCellWins)
{
    db.exec("insert into kcb values ('L8','P2',1,1)");
    fill(kClass, 0);
    // The order of the two rows is the database's; the last one read wins.
    const QStringList rows = db.rows(sql::gridFill("X1", sql::classFilter("B1")));
    const QString lastAtMondayFirst = [&] {
        QString id;
        for (const QString& row : rows)
            if (row.section('|', 4, 5) == "1|1")
                id = row.section('|', 0, 0);
        return id;
    }();
    ASSERT_FALSE(lastAtMondayFirst.isEmpty());
    EXPECT_EQ(cell(kClass, 1, 1).Tag.section('\t', 0, 0), lastAtMondayFirst);
    EXPECT_TRUE(c.messages().shown().empty());
}

TEST_F(GridFillTest, APeriodBeyondTheGridKeepsTheEarlierRows)
{
    db.exec("insert into kcb values ('L10','P1',2,5)"); // the grid has 4 rows
    fill(kClass, 0);
    // Rows in order: L1 (1/1), L2 (2/3), L10 (2/5) fails, L7 (7/4) never written.
    EXPECT_EQ(shown(kClass), (QStringList{"1/1=张三\r\n数|L1\tB1\tT1\tK1", "2/3=李四\r\n语|L2\tB1\tT2\tK2"}));
    ASSERT_EQ(c.messages().shown().size(), 1u);
    const MessageBoxRecord box = c.messages().shown()[0];
    EXPECT_EQ(box.style, 64);
    EXPECT_EQ(box.title, "警告");
    EXPECT_FALSE(box.text.isEmpty());
    expectIdle();
}

TEST_F(GridFillTest, FailuresBeforeTheRowsKeepWhatTheGridShowed)
{
    fill(kClass, 0);
    const QStringList before = shown(kClass);

    // Nothing chosen.
    fill(kClass, -1);
    // An entry without an id.
    c.surface().cmbBj.AddItem("高一3班");
    fill(kClass, 2);
    // The database refuses the read.
    c.conn().setFaultHook([](const TraceEntry&) { throw DbError("连接已断开"); });
    fill(kClass, 0);

    EXPECT_EQ(shown(kClass), before);
    const auto boxes = c.messages().shown();
    ASSERT_EQ(boxes.size(), 3u);
    for (const MessageBoxRecord& box : boxes) {
        EXPECT_EQ(box.style, 64);
        EXPECT_EQ(box.title, "警告");
    }
    EXPECT_EQ(boxes[2].text, "连接已断开");
    EXPECT_TRUE(host.Enabled());
    EXPECT_EQ(host.MousePointer(), 0);

    // The teacher side fails the same way without a choice.
    FillGrid(c, kTeacher);
    EXPECT_EQ(c.messages().shown().size(), 4u);
}

TEST_F(GridFillTest, ClearGridEmptiesTextButKeepsMarks)
{
    fill(kTeacher, 0);
    Label& marked = cell(kTeacher, 1, 2);
    marked.BackColor = color::AnalysedLesson;
    marked.ForeColor = color::Related;
    marked.ToolTipText = "教师不排课节";
    cell(kTeacher, 7, 4).Caption = "x";

    ClearGrid(c, "随便");  // any kind but 班级 is the teacher grid
    EXPECT_TRUE(shown(kTeacher).isEmpty());
    EXPECT_EQ(marked.BackColor, color::AnalysedLesson);
    EXPECT_EQ(marked.ForeColor, color::Related);
    EXPECT_EQ(marked.ToolTipText, "教师不排课节");
}

} // namespace

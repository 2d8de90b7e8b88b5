#include "state/colors.h"
#include "qxmavowin/host_window.h"
#include "control/qx_mavowin.h"
#include "grid/build_grids.h"
#include "grid/fill_grid.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/grid_statements.h"
#include "support/small_school.h"
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

constexpr Side kClass = Side::Class;
constexpr Side kTeacher = Side::Teacher;

class GridFillTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        insertSmallSchool(db, "2", "2"); // 4 periods
        db.execAll({
            "insert into sz_xn values ('X2','2005-2006','1','课表')",
            "insert into info_jxjh values ('P9','X2','B1','T1','K1',5)", // another timetable
            "insert into kcb values ('L7','P9',2,2)", "insert into kcb values ('L8','P1',0,0)",
            "insert into kcb values ('L9','P1',8,4)", // weekday outside 1-7
        });
        c.QxIni(db.db(), "2005-2006", "2", "课表", &host, 1);
        // The selectors' own choice handling belongs elsewhere; here a
        // choice only sets the index.
        c.surface().cmbBj.onClick = nullptr;
        c.surface().cmbJs.onClick = nullptr;
        host.pointers.clear();
        host.enabledStates.clear();
    }

    void fill(Side kind, int index)
    {
        c.surface().selector(kind).setListIndex(index);
        FillGrid(c.state(), kind);
    }

    Label& cell(Side kind, int weekday, int period) { return c.cell(kind, weekday, period - 1); }

    // Every cell of a grid as "weekday/period=caption|tag", free cells left out.
    QStringList shown(Side kind)
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

TEST_F(GridFillTest, EachGridShowsItsLessonsOfThisTimetable)
{
    // What the grid showed before goes; colours stay.
    cell(kClass, 4, 3).Caption = "old";
    cell(kClass, 4, 3).Tag = "x\ty\tz\tw";
    cell(kClass, 4, 3).BackColor = color::Warned;

    fill(kClass, 0);
    // L7 belongs to another timetable, L8 has period 0, L9 weekday 8.
    EXPECT_EQ(shown(kClass), (QStringList{"1/1=B李\r\n语|L3\tB1\tT2\tK2", "1/3=A张\r\n数|L1\tB1\tT1\tK1",
                                          "3/2=A张\r\n数|L5\tB1\tT1\tK1", "4/4=C王\r\n英|L6\tB1\tT3\tK3"}));
    EXPECT_EQ(cell(kClass, 4, 3).BackColor, color::Warned);
    EXPECT_TRUE(c.messages().shown().empty());
    expectIdle();

    // The teacher grid shows class names.
    fill(kTeacher, 0);
    EXPECT_EQ(shown(kTeacher), (QStringList{"1/3=1班\r\n数|L1\tB1\tT1\tK1", "2/1=2班\r\n数|L2\tB2\tT1\tK1",
                                            "3/2=1班\r\n数|L5\tB1\tT1\tK1"}));
    fill(kTeacher, 1);
    EXPECT_EQ(shown(kTeacher), (QStringList{"1/1=1班\r\n语|L3\tB1\tT2\tK2"}));
}

TEST_F(GridFillTest, CheckBoxesShapeTheCaptionButNeverTheTag)
{
    Surface& s = c.surface();
    // Only Value 1 counts as ticked (2 is the greyed state).
    const struct {
        CheckBox &name, &course;
        int nameValue, courseValue;
        Side kind;
        QString caption;
    } cases[] = {
        {s.chkJs, s.chkKcBj, 1, 0, kClass, "A张\r\n"},
        {s.chkJs, s.chkKcBj, 0, 1, kClass, "数"},
        {s.chkJs, s.chkKcBj, 2, 0, kClass, ""},
        {s.chkBj, s.chkKcJs, 1, 0, kTeacher, "1班\r\n"},
    };
    for (const auto& k : cases) {
        k.name.Value = k.nameValue;
        k.course.Value = k.courseValue;
        fill(k.kind, 0);
        EXPECT_EQ(cell(k.kind, 1, 3).Caption, k.caption);
        EXPECT_EQ(cell(k.kind, 1, 3).Tag, "L1\tB1\tT1\tK1");
    }
}

TEST_F(GridFillTest, TheLaterOfTwoLessonsInOneCellWinsAndMissingNamesShowEmpty)
{
    db.execAll({"insert into kcb values ('L10','P2',1,3)", "insert into info_jxjh values ('P8','X1','B1','T9','K9',1)",
                "insert into kcb values ('L11','P8',3,1)"});
    fill(kClass, 0);
    EXPECT_EQ(cell(kClass, 3, 1).Caption + cell(kClass, 3, 1).Tag, "\r\nL11\tB1\tT9\tK9");
    // The order of the two rows is the database's; the last one read wins.
    QString last;
    for (const QString& row : db.rows(sql::gridFill("X1", sql::classFilter("B1"))))
        if (row.section('|', 4, 5) == "1|3")
            last = row.section('|', 0, 0);
    ASSERT_FALSE(last.isEmpty());
    EXPECT_EQ(cell(kClass, 1, 3).Tag.section('\t', 0, 0), last);
    EXPECT_TRUE(c.messages().shown().empty());
}

TEST_F(GridFillTest, APeriodBeyondTheGridKeepsTheEarlierRows)
{
    db.exec("insert into kcb values ('L10','P1',2,5)"); // the grid has 4 rows
    fill(kClass, 0);
    // Rows in order: 1/1, 1/3, then 2/5 fails; 3/2 and 4/4 are never written.
    EXPECT_EQ(shown(kClass), (QStringList{"1/1=B李\r\n语|L3\tB1\tT2\tK2", "1/3=A张\r\n数|L1\tB1\tT1\tK1"}));
    ASSERT_EQ(c.messages().shown().size(), 1u);
    const MessageBoxRecord box = c.messages().shown()[0];
    EXPECT_EQ(std::tuple(box.style, box.title, box.text.isEmpty()), std::tuple(64, QStringLiteral("警告"), false));
    expectIdle();
}

TEST_F(GridFillTest, FailuresBeforeTheRowsKeepWhatTheGridShowed)
{
    fill(kClass, 0);
    const QStringList before = shown(kClass);

    fill(kClass, -1); // nothing chosen
    c.surface().cmbBj.AddItem("3班");
    fill(kClass, 2); // an entry without an id
    c.conn().setFaultHook([](const TraceEntry&) { throw DbError("连接已断开"); });
    fill(kClass, 0);
    FillGrid(c.state(), kTeacher); // the teacher side without a choice

    EXPECT_EQ(shown(kClass), before);
    const auto boxes = c.messages().shown();
    ASSERT_EQ(boxes.size(), 4u);
    for (const MessageBoxRecord& box : boxes)
        EXPECT_EQ(box.title, "警告");
    EXPECT_EQ(boxes[2].text, "连接已断开");
    EXPECT_TRUE(host.Enabled());
    EXPECT_EQ(host.MousePointer(), 0);
}

TEST_F(GridFillTest, ClearGridEmptiesTextButKeepsMarks)
{
    fill(kTeacher, 0);
    Label& marked = cell(kTeacher, 1, 3);
    marked.BackColor = color::AnalysedLesson;
    marked.ForeColor = color::Related;
    marked.ToolTipText = "教师不排课节";
    cell(kTeacher, 7, 4).Caption = "x";

    ClearGrid(c.state(), sideOfKind("随便")); // any text but 班级 names the teacher side
    EXPECT_TRUE(shown(kTeacher).isEmpty());
    EXPECT_EQ(marked.BackColor, color::AnalysedLesson);
    EXPECT_EQ(marked.ForeColor, color::Related);
    EXPECT_EQ(marked.ToolTipText, "教师不排课节");
}

} // namespace

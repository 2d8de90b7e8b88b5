#include "state/colors.h"
#include "control/qx_mavowin.h"
#include "grid/paint_grid.h"
#include "store/control_error.h"

#include <gtest/gtest.h>

namespace {

constexpr Side kClass = Side::Class;
constexpr Side kTeacher = Side::Teacher;

// Paints a control that has never been started: each grid holds its design
// row, a few extra rows made as BuildGrids makes them, and some lessons.
class GridPaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (GridSurface* g : {&c.surface().classGrid, &c.surface().teacherGrid})
            for (int d = 1; d <= 7; ++d)
                for (int i = 1; i < 3; ++i)
                    g->column(d).Load(i);
        for (Side kind : {kClass, kTeacher}) {
            lesson(kind, 1, 0, "张三\r\n数", "L1\tB1\tT1\tK1");
            lesson(kind, 2, 1, "李四\r\n语", "L2\tB2\tT2\tK2");
            lesson(kind, 3, 2, "", "L3\tT1\tB1\tK1"); // ids swapped: field 1 is T1
            lesson(kind, 7, 2, "", "L4\tB1\tT1\tK2"); // no caption, still a lesson
            // Marks an earlier analysis left.
            Label& marked = c.cell(kind, 5, 1);
            marked.BackColor = color::Warned;
            marked.ForeColor = color::Related;
            marked.ToolTipText = "班级不排课节";
        }
    }

    void lesson(Side kind, int weekday, int index, const QString& caption, const QString& cellTag)
    {
        Label& l = c.cell(kind, weekday, index);
        l.Caption = caption;
        l.Tag = cellTag;
    }

    // The cells of a grid that pass a check, as "weekday/index".
    template <typename Check> QStringList where(Side kind, Check check)
    {
        QStringList out;
        GridSurface& g = c.surface().grid(kind);
        for (int d = 1; d <= 7; ++d)
            for (int i = 0; i < g.column(d).Count(); ++i)
                if (check(g.column(d)[i]))
                    out << QString("%1/%2").arg(d).arg(i);
        return out;
    }
    QStringList withForeColor(Side kind, std::int32_t colour)
    {
        return where(kind, [colour](const Label& l) { return l.ForeColor == colour; });
    }

    QX_MavoWin c;
};

TEST_F(GridPaintTest, PlainResetRemovesEveryMarkAndKeepsTheLessons)
{
    c.surface().classGrid.column(1)[0].Visible = false; // the hidden design cell is painted too
    for (Side kind : {kClass, kTeacher}) {
        PaintGridPlain(c.state(), kind);
        EXPECT_EQ(where(kind, [](const Label&) { return true; }).size(), 21);
        EXPECT_TRUE(where(kind, [](const Label& l) {
                        return l.BackColor != color::White || l.ForeColor != 0 || !l.ToolTipText.isEmpty();
                    }).isEmpty());
        EXPECT_EQ(c.cell(kind, 2, 1).Caption + c.cell(kind, 7, 2).Tag, "李四\r\n语L4\tB1\tT1\tK2");
    }
}

TEST_F(GridPaintTest, ClassGridMatchesTheTeacherFieldAndTeacherGridTheClassField)
{
    PaintGrid(c.state(), kClass, "16443612", "T1", "255");
    EXPECT_EQ(withForeColor(kClass, color::Related), (QStringList{"1/0", "7/2"}));
    EXPECT_TRUE(where(kClass, [](const Label& l) {
                    return l.BackColor != color::Available || !l.ToolTipText.isEmpty() ||
                           (l.ForeColor != color::Related && l.ForeColor != color::Black);
                }).isEmpty());

    // The same id on the teacher grid is compared with the class field.
    PaintGrid(c.state(), kTeacher, "16777215", "T1", "12583104");
    EXPECT_EQ(withForeColor(kTeacher, color::OtherRelated), (QStringList{"3/2"}));
    PaintGrid(c.state(), kTeacher, "16777215", "B1", "12583104");
    EXPECT_EQ(withForeColor(kTeacher, color::OtherRelated), (QStringList{"1/0", "7/2"}));

    // The compare is exact: no case folding, no trimming.
    PaintGrid(c.state(), kClass, "16443612", "t1", "255");
    EXPECT_TRUE(withForeColor(kClass, color::Related).isEmpty());
    PaintGrid(c.state(), kClass, "16443612", "T1 ", "255");
    EXPECT_TRUE(withForeColor(kClass, color::Related).isEmpty());
}

TEST_F(GridPaintTest, AColourTextThatIsNoNumberFailsBeforeAnyCellChanges)
{
    for (const QString& bad : {QString(), QString("white"), QString("99999999999")}) {
        EXPECT_THROW(PaintGrid(c.state(), kClass, bad, "T1", "255"), ControlError) << bad.toStdString();
        EXPECT_THROW(PaintGrid(c.state(), kClass, "16443612", "T1", bad), ControlError) << bad.toStdString();
    }
    EXPECT_EQ(c.cell(kClass, 5, 1).BackColor, color::Warned);
    EXPECT_EQ(c.cell(kClass, 5, 1).ToolTipText, "班级不排课节");

    // Blanks around the number are allowed, as the integer conversion allows them.
    PaintGrid(c.state(), kClass, " 12447759 ", "T2", "-1");
    EXPECT_EQ(c.cell(kClass, 4, 0).BackColor, color::AnalysedLesson);
    EXPECT_EQ(c.cell(kClass, 2, 1).ForeColor, -1);
}

} // namespace

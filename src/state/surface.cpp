#include "state/surface.h"

#include "state/colors.h"

namespace {

Frame frame(const QString& name, const QString& caption, double left, double top, double width, double height,
            std::int32_t back = color::SystemWindowBackground)
{
    Frame f;
    f.Name = name;
    f.Caption = caption;
    f.Left = left;
    f.Top = top;
    f.Width = width;
    f.Height = height;
    f.BackColor = back;
    return f;
}

// Builds one grid as designed: a single period row.
void designGrid(GridSurface& g, bool classSide)
{
    g.side = classSide ? Side::Class : Side::Teacher;
    g.outer =
        classSide ? frame("Frame1", "班级课表", 60, 60, 7365, 7335) : frame("frame", "教师课表", 7440, 60, 7335, 7335);
    g.headerBar = classSide ? frame("Frame2", "", 60, 660, 7230, 465, color::HeaderBar)
                            : frame("Frame4", "", 30, 660, 7245, 465, color::HeaderBar);
    g.corner = frame(classSide ? "Frame5" : "Frame6", "", 0, 0, 945, 465, color::HeaderBar);
    g.headingFrame = classSide ? frame("FraBj", "", 60, 1020, 945, 6255, color::HeaderBar)
                               : frame("FraJs", "", 30, 1020, 945, 6255, color::HeaderBar);
    g.cellFrame = classSide ? frame("NFraBj", "", 1020, 1050, 6345, 6255, color::Changed)
                            : frame("NFraJs", "", 960, 1020, 6345, 6285, color::Changed);

    Label heading;
    heading.Caption = QStringLiteral("第一节");
    heading.ForeColor = color::HeadingText;
    heading.Left = 60;
    heading.Top = 390;
    heading.Width = 840;
    heading.Height = 180;
    g.headings = ControlArray<Label>(classSide ? "Lab" : "LabJs", heading);

    Line line;
    line.X1 = 30;
    line.X2 = 930;
    line.Y1 = 810;
    line.Y2 = 810;
    g.lines = ControlArray<Line>(classSide ? "L" : "LJs", line);

    for (int d = 1; d <= 7; ++d) {
        Label cell;
        cell.Left = 30 + 900 * (d - 1);
        cell.Top = 120;
        cell.Width = 885;
        cell.Height = 735;
        cell.BackColor = classSide ? color::White : color::SystemWindowBackground;
        cell.ForeColor = color::SystemWindowText;
        QString name = classSide ? QStringLiteral("cmd%1").arg(d) : QStringLiteral("cmdJs%1").arg(d);
        if (!classSide && d == 2)
            name = QStringLiteral("cmdJS2");
        g.columns[static_cast<size_t>(d - 1)] = ControlArray<Label>(name, cell);
    }
}

CheckBox check(const QString& name, const QString& caption, double left, double top)
{
    CheckBox c;
    c.Name = name;
    c.Caption = caption;
    c.Value = 1;
    c.Left = left;
    c.Top = top;
    c.Width = 1100;
    c.Height = 300;
    return c;
}

void place(ComboBox& c, const QString& name, double left, double top, double width)
{
    c.Name = name;
    c.Left = left;
    c.Top = top;
    c.Width = width;
    c.Height = 300;
}

CommandButton button(const QString& name, const QString& caption, double left, double top, double width, double height,
                     bool visible, std::int32_t back)
{
    CommandButton b;
    b.Name = name;
    b.Caption = caption;
    b.Left = left;
    b.Top = top;
    b.Width = width;
    b.Height = height;
    b.Visible = visible;
    b.BackColor = back;
    return b;
}

} // namespace

Surface::Surface()
{
    designGrid(classGrid, true);
    designGrid(teacherGrid, false);

    // Class side, in the strip above the header bar of Frame1.
    place(cmbJb, "cmbJb", 420, 240, 960);
    place(cmbNj, "cmbNj", 1800, 240, 960);
    place(cmbBj, "cmbBj", 3180, 240, 1320);
    chkJs = check("chkJs", "显示教师", 4560, 240);
    chkKcBj = check("chkKcBj", "显示课程", 5640, 240);
    cmdDelBj = button("cmdDelBj", "删除", 6660, 225, 630, 330, true, color::SystemWindowBackground);

    // Teacher side, in the strip above the header bar of frame.
    place(cmbJs, "cmbJs", 420, 240, 1500);
    txtJm.Name = QStringLiteral("txtJm");
    txtJm.Left = 2340;
    txtJm.Top = 240;
    txtJm.Width = 900;
    txtJm.Height = 300;
    chkBj = check("chkBj", "显示班级", 3420, 240);
    chkKcJs = check("chkKcJs", "显示课程", 4500, 240);
    cmdDeljs = button("cmdDeljs", "删除", 6600, 225, 630, 330, true, color::SystemWindowBackground);

    // Plan lists below the grids.
    FrajxjhBj = frame("FrajxjhBj", "班级教学计划", 60, 7440, 7365, 1815);
    Frajxjhjs = frame("Frajxjhjs", "教师教学计划", 7440, 7440, 7335, 1815);
    lstBj.Name = QStringLiteral("lstBj");
    lstBj.Left = 90;
    lstBj.Top = 240;
    lstBj.Width = 7185;
    lstBj.Height = 1485;
    lstJs.Name = QStringLiteral("lstJs");
    lstJs.Left = 90;
    lstJs.Top = 240;
    lstJs.Width = 7155;
    lstJs.Height = 1485;

    txtHelp.Name = QStringLiteral("txtHelp");
    txtHelp.Left = FrajxjhBj.Width;
    txtHelp.Top = FrajxjhBj.Top + 300;
    txtHelp.Width = FrajxjhBj.Width;
    txtHelp.Height = 1455;
    txtHelp.Visible = false;

    // Animation tiles, in the cell frames, hidden between drops.
    cBj = button("cBj", "", 30, 120, 885, 735, false, color::Changed);
    eBj = button("eBj", "", 30, 120, 885, 735, false, color::Changed);
    CJs = button("CJs", "", 30, 120, 885, 735, false, color::Changed);
    eJs = button("eJs", "", 30, 120, 885, 735, false, color::Changed);

    // Under the grids, to the right of the status line; hidden until a
    // chain is offered.
    cmdChain = button("cmdChain", "执行", 14145, 9300, 630, 300, false, color::SystemWindowBackground);

    classGrid.bindTo(changes_);
    teacherGrid.bindTo(changes_);
    for (SurfaceControl* c : std::initializer_list<SurfaceControl*>{
             &chkJs, &chkKcBj, &chkBj,     &chkKcJs,   &cmbJb,      &cmbNj,        &cmbBj,   &cmbJs,
             &txtJm, &txtHelp, &FrajxjhBj, &Frajxjhjs, &lstBj,      &lstJs,        &cBj,     &eBj,
             &CJs,   &eJs,     &cmdDelBj,  &cmdDeljs,  &statusLine, &chainPreview, &cmdChain})
        c->bindTo(changes_);
}

void GridSurface::bindTo(ChangeList& changes)
{
    for (Frame* f : {&outer, &headerBar, &corner, &headingFrame, &cellFrame})
        f->bindTo(changes);
    headings.bindTo(changes);
    lines.bindTo(changes);
    for (auto& column : columns)
        column.bindTo(changes);
}

GridSurface& Surface::gridOf(const Label& cell)
{
    for (auto& column : classGrid.columns)
        if (column.name() == cell.Name)
            return classGrid;
    return teacherGrid;
}

int Surface::weekdayOf(const Label& cell)
{
    if (cell.Name.isEmpty())
        return 0;
    return cell.Name.back().digitValue();
}

ComboBox* Surface::comboByName(const QString& name)
{
    for (ComboBox* c : {&cmbJb, &cmbNj, &cmbBj, &cmbJs})
        if (c->Name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

CheckBox* Surface::checkByName(const QString& name)
{
    for (CheckBox* c : {&chkJs, &chkKcBj, &chkBj, &chkKcJs})
        if (c->Name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

ListView* Surface::listByName(const QString& name)
{
    for (ListView* l : {&lstBj, &lstJs})
        if (l->Name.compare(name, Qt::CaseInsensitive) == 0)
            return l;
    return nullptr;
}

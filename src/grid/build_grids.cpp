#include "grid/build_grids.h"

#include "state/control_state.h"
#include "state/controls.h"
#include "state/surface.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/grid_statements.h"
#include "store/recordset.h"
#include "store/value_text.h"

#include <cmath>
#include <limits>

namespace {

// The period count is a 16-bit whole number, as the numeral of a heading is;
// a larger value would ask for more rows than any day has (and more controls
// than a window can hold), so it is refused like any integer overflow.
int periodCountOf(const QVariant& maxs)
{
    const double value = std::nearbyint(leadingNumber(joinText(maxs)));
    if (value > std::numeric_limits<qint16>::max() || value < std::numeric_limits<qint16>::min())
        throw ControlError(QStringLiteral("溢出：每天节数 %1 超出范围").arg(joinText(maxs)));
    return static_cast<int>(value);
}

// Grows one grid from its design row to periods rows. ClassGrid keeps its
// rows a whole number of twips high; TeacherGrid keeps the fraction.
void buildGrid(GridSurface& grid, int periods, bool wholeTwipRows)
{
    ControlArray<Label>& monday = grid.column(1);
    if (periods <= 0) {
        // A timetable without day settings: only the first heading and the
        // Monday cell go; the other design cells stay as they are.
        grid.headings[0].Visible = false;
        monday[0].Visible = false;
        return;
    }

    grid.headings[0].Visible = true;
    for (int d = 1; d <= 7; ++d)
        grid.column(d)[0].Visible = true;
    for (int d = 1; d <= 7; ++d) {
        const double rowHeight = (grid.headingFrame.Height - 200) / periods;
        grid.column(d)[0].Height = wholeTwipRows ? std::trunc(rowHeight) : rowHeight;
    }

    // Heading 0 is centred in the frame by its own formula; later headings
    // follow the middle of their row.
    grid.headings[0].Top = grid.headingFrame.Height / (2.0 * periods);
    Line& firstLine = grid.lines[0];
    firstLine.Y1 = firstLine.Y2 = monday[0].Top + monday[0].Height + 89;

    for (int i = 1; i < periods; ++i) {
        for (int d = 1; d <= 7; ++d) {
            ControlArray<Label>& column = grid.column(d);
            Label& newCell = column.Load(i);
            PlaceCellBelow(newCell, column[i - 1]);
        }

        const Label& rowCell = monday[i];
        Label& heading = grid.headings.Load(i);
        heading.Visible = true;
        heading.Top = rowCell.Top + rowCell.Height / 2;
        heading.Caption = QStringLiteral("第") + PeriodNumeral(i + 1) + QStringLiteral("节");

        // The separator goes under the row above the new one, so the last
        // row has none of its own.
        const Label& rowAbove = monday[i - 1];
        Line& line = grid.lines.Load(i);
        line.Visible = true;
        line.Y1 = line.Y2 = rowAbove.Top + rowAbove.Height + 89;
    }
}

} // namespace

void BuildGrids(ControlState& state)
{
    const ScheduleContext& context = state.context();
    Recordset rs =
        state.conn().open(sql::periodCount(context.DataType, context.SchoolYear, context.Term, context.ScheduleName),
                          CursorType::Static, LockType::ReadOnly);
    if (rs.atEnd())
        return;

    const int periods = periodCountOf(rs.field(QStringLiteral("maxs")));
    buildGrid(state.surface().classGrid, periods, true);
    buildGrid(state.surface().teacherGrid, periods, false);
}

void PlaceCellBelow(Label& newCell, const Label& previousCell)
{
    newCell.Visible = true;
    newCell.Left = previousCell.Left;
    newCell.Top = previousCell.Top + previousCell.Height + 20;
}

QString PeriodNumeral(int period)
{
    static const char16_t* const numerals[] = {u"一", u"二", u"三", u"四",   u"五",   u"六",   u"七",
                                               u"八", u"九", u"十", u"十一", u"十二", u"十三", u"十四"};
    if (period >= 1 && period <= 14)
        return QString::fromUtf16(numerals[period - 1]);
    return QString::number(period);
}

QString WeekdayName(int weekday)
{
    static const char16_t* const names[] = {u"星期一", u"星期二", u"星期三", u"星期四",
                                            u"星期五", u"星期六", u"星期日"};
    return weekday >= 1 && weekday <= 7 ? QString::fromUtf16(names[weekday - 1]) : QString();
}

#include "grid/paint_grid.h"

#include "state/colors.h"
#include "state/control_state.h"
#include "state/controls.h"
#include "state/surface.h"
#include "state/tag.h"
#include "store/control_error.h"

#include <cmath>
#include <limits>

namespace {

// A colour given as decimal text, by the 32-bit integer conversion: blanks
// around the number are allowed, a fraction rounds half to even.
std::int32_t colourValue(const QString& text)
{
    const QString number = text.trimmed();
    bool ok = false;
    double value = number.toLongLong(&ok, 10);
    if (!ok)
        value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw ControlError(QStringLiteral("类型不匹配：颜色值“%1”不是数字").arg(text));
    value = std::nearbyint(value);
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw ControlError(QStringLiteral("溢出：颜色值“%1”超出范围").arg(text));
    return static_cast<std::int32_t>(value);
}

} // namespace

void PaintGrid(ControlState& state, Side side, const QString& backColorText, const QString& matchId,
               const QString& matchForeColorText)
{
    // Both colours are checked before the first cell changes, so a bad text
    // leaves the grid as it was rather than half painted.
    const std::int32_t backColor = colourValue(backColorText);
    const std::int32_t matchForeColor = colourValue(matchForeColorText);

    const bool classSide = side == Side::Class;

    GridSurface& grid = state.surface().grid(side);
    for (int d = 1; d <= 7; ++d) {
        ControlArray<Label>& column = grid.column(d);
        for (int i = 0; i < column.Count(); ++i) {
            Label& cell = column[i];
            cell.BackColor = backColor;
            if (cell.Tag.isEmpty())
                cell.ForeColor = color::Black;
            else {
                // ClassGrid relates lessons by teacher, TeacherGrid by class.
                const CellTag lesson = CellTag::of(cell.Tag);
                cell.ForeColor =
                    (classSide ? lesson.teacherId : lesson.classId) == matchId ? matchForeColor : color::Black;
            }
            cell.ToolTipText.clear();
        }
    }
}

void PaintGridPlain(ControlState& state, Side side)
{
    PaintGrid(state, side, QString::number(color::White), QStringLiteral("0"), QString::number(color::Black));
}

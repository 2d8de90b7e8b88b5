#include "ui/header_bar.h"

#include "state/surface.h"
#include "ui/grid_design.h"

#include <QPainter>

namespace qxui {

namespace {

// Design of the header bar, in twips relative to the bar.
constexpr double kWeekdayTop = 240;
constexpr double kWeekdayLefts[7] = {1170, 2040, 2955, 3825, 4725, 5640, 6570};
constexpr double kWeekdayRuleXs[6] = {1830, 2730, 3630, 4530, 5430, 6330};

} // namespace

HeaderBar::HeaderBar(QWidget* parent, const GridSurface& grid) : PaintedFrame(parent, grid.headerBar), grid_(grid) {}

void HeaderBar::paintContent(QPainter& p)
{
    const QPalette& pal = palette();
    const TwipScale& s = scale();
    const Frame& c = grid_.corner;
    const QRect corner = s.rect(c.Left, c.Top, c.Width, c.Height);
    p.fillRect(corner, oleColor(c.BackColor, pal));

    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(oleColor(kLineColor, pal), 1));
    p.drawLine(QPointF(corner.topLeft()) + s.point(30, 120), QPointF(corner.topLeft()) + s.point(900, 420));
    p.setRenderHint(QPainter::Antialiasing, false);
    for (double x : kWeekdayRuleXs)
        p.drawLine(s.point(x, 420), s.point(x, 90));

    // Labels sized to their text, drawn from their top-left corner.
    const int ascent = fontMetrics().ascent();
    p.setPen(oleColor(0x00FFFF00, pal));
    p.drawText(QPointF(corner.topLeft()) + s.point(540, 150) + QPointF(0, ascent), QStringLiteral("星期"));
    p.drawText(QPointF(corner.topLeft()) + s.point(30, 240) + QPointF(0, ascent), QStringLiteral("课节"));
    p.setPen(oleColor(0x0080FFFF, pal));
    for (int d = 0; d < 7; ++d)
        p.drawText(s.point(kWeekdayLefts[d], kWeekdayTop) + QPointF(0, ascent), kWeekdayNames[d]);
}

} // namespace qxui

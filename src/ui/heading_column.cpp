#include "ui/heading_column.h"

#include "state/surface.h"
#include "ui/display_text.h"
#include "ui/grid_design.h"

#include <QPainter>

namespace qxui {

HeadingColumn::HeadingColumn(QWidget* parent, const GridSurface& grid)
    : PaintedFrame(parent, grid.headingFrame), grid_(grid)
{}

void HeadingColumn::paintContent(QPainter& p)
{
    const QPalette& pal = palette();
    const TwipScale& s = scale();
    p.setPen(oleColor(kLineColor, pal));
    for (int i = 0; i < grid_.lines.Count(); ++i) {
        const Line& l = grid_.lines[i];
        if (l.Visible)
            p.drawLine(QLineF(s.point(l.X1, l.Y1), s.point(l.X2, l.Y2)));
    }
    // A heading label is shorter than its text is high; its text is drawn
    // from the label's top, unclipped, as the toolkit draws a label.
    for (int i = 0; i < grid_.headings.Count(); ++i) {
        const Label& h = grid_.headings[i];
        if (!h.Visible)
            continue;
        p.setPen(oleColor(h.ForeColor, pal));
        p.drawText(s.rect(h.Left, h.Top, h.Width, h.Height), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
                   displayText(h.Caption));
    }
}

} // namespace qxui

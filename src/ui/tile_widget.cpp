#include "ui/tile_widget.h"

#include "ui/display_text.h"
#include "ui/widget_placement.h"

#include <QPainter>

namespace qxui {

TileWidget::TileWidget(QWidget* parent, const CommandButton& button) : PaintedFrame(parent, button)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TileWidget::refresh(const TwipScale& scale)
{
    PaintedFrame::refresh(scale);
    if (model().Visible)
        raise();
    showWidget(*this, model().Visible);
}

void TileWidget::paintContent(QPainter& p)
{
    const QPalette& pal = palette();
    const QRect r = rect();
    // A raised button face: light top-left edge, dark bottom-right edge.
    // The host window is disabled while a tile moves; the tile keeps its look.
    p.setPen(pal.color(QPalette::Active, QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(pal.color(QPalette::Active, QPalette::Shadow));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(pal.color(QPalette::Active, QPalette::ButtonText));
    p.drawText(r.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, displayText(model().Caption));
}

} // namespace qxui

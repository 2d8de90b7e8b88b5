#include "ui/state_marks.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace qxui {

namespace {

QPainterPath markPath(const QRectF& box, CellState state)
{
    QPainterPath path;
    const QPointF c = box.center();
    switch (state) {
    case CellState::Available: path.addEllipse(box); break;
    case CellState::Warned:
        path.moveTo(c.x(), box.top());
        path.lineTo(box.bottomRight());
        path.lineTo(box.bottomLeft());
        path.closeSubpath();
        break;
    case CellState::Blocked:
        path.moveTo(box.topLeft());
        path.lineTo(box.bottomRight());
        path.moveTo(box.topRight());
        path.lineTo(box.bottomLeft());
        break;
    case CellState::Analysed: path.addRect(box); break;
    case CellState::Changed:
        path.moveTo(c.x(), box.top());
        path.lineTo(box.right(), c.y());
        path.lineTo(c.x(), box.bottom());
        path.lineTo(box.left(), c.y());
        path.closeSubpath();
        break;
    case CellState::Plain: break;
    }
    return path;
}

bool filled(CellState state) { return state == CellState::Analysed || state == CellState::Changed; }

} // namespace

void drawStateMark(QPainter& painter, const QRect& cell, CellState state)
{
    if (state == CellState::Plain)
        return;
    // A fifth of the cell's shorter side, never too small to tell apart.
    const double size = std::max(7.0, std::min(cell.width(), cell.height()) / 5.0);
    const double line = std::max(1.5, size / 6.0);
    const QRectF box(cell.left() + line * 2, cell.top() + line * 2, size, size);
    const QPainterPath path = markPath(box, state);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, line * 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(QPen(Qt::black, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(filled(state) ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
    painter.drawPath(path);
    painter.restore();
}

} // namespace qxui

#include "ui/frame_box.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace qxui {

FrameBox::FrameBox(QWidget* parent, const Frame& frame) : PaintedFrame(parent, frame) {}

void FrameBox::paintContent(QPainter& p)
{
    const QString& caption = model().Caption;
    if (caption.isEmpty())
        return;
    const QColor back = oleColor(model().BackColor, palette());
    const QFontMetrics fm = fontMetrics();
    const int lineY = fm.height() / 2;
    QStyleOptionFrame option;
    option.initFrom(this);
    option.rect = rect().adjusted(0, lineY, 0, 0);
    option.frameShape = QFrame::Box;
    option.state |= QStyle::State_Sunken;
    option.lineWidth = 1;
    option.midLineWidth = 0;
    style()->drawPrimitive(QStyle::PE_FrameGroupBox, &option, &p, this);
    const int textWidth = fm.horizontalAdvance(caption);
    const QRect textRect(8, 0, textWidth + 4, fm.height());
    p.fillRect(textRect, back);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(textRect, Qt::AlignCenter, caption);
}

} // namespace qxui

#include "ui/widget_placement.h"

#include <QWidget>

namespace qxui {

void placeWidget(QWidget& widget, const QRect& rect)
{
    if (widget.geometry() != rect)
        widget.setGeometry(rect);
}

void showWidget(QWidget& widget, bool visible)
{
    if (widget.isHidden() == visible)
        widget.setVisible(visible);
}

} // namespace qxui

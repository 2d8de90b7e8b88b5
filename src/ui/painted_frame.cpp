#include "ui/painted_frame.h"

#include "ui/widget_placement.h"

#include <QPainter>

namespace qxui {

template <typename Model> PaintedFrame<Model>::PaintedFrame(QWidget* parent, const Model& model)
    : QWidget(parent), model_(model)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

template <typename Model> void PaintedFrame<Model>::refresh(const TwipScale& scale)
{
    placeWidget(*this, scale.rect(model_.Left, model_.Top, model_.Width, model_.Height + extraHeight()));
    scale_ = scale;
    update();
}

template <typename Model> void PaintedFrame<Model>::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), oleColor(model_.BackColor, palette()));
    paintContent(p);
}

template class PaintedFrame<Frame>;
template class PaintedFrame<CommandButton>;

} // namespace qxui

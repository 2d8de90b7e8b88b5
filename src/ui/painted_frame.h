#pragma once

#include "state/controls.h"
#include "ui/twips.h"

#include <QWidget>

class QPainter;

namespace qxui {

// A widget painted straight from one surface object with a place and a back
// colour (a frame, a tile). refresh() moves it where the object says and has
// it repainted; the paint fills the back colour and leaves the rest of the
// picture to paintContent().
template <typename Model> class PaintedFrame : public QWidget {
public:
    virtual void refresh(const TwipScale& scale);

protected:
    PaintedFrame(QWidget* parent, const Model& model);

    const Model& model() const { return model_; }
    // The scale of the last refresh, for content drawn in twips.
    const TwipScale& scale() const { return scale_; }
    // Height beyond the object's own, in twips.
    virtual double extraHeight() const { return 0; }
    virtual void paintContent(QPainter& painter) = 0;
    void paintEvent(QPaintEvent* event) final;

private:
    const Model& model_;
    TwipScale scale_;
};

extern template class PaintedFrame<Frame>;
extern template class PaintedFrame<CommandButton>;

} // namespace qxui

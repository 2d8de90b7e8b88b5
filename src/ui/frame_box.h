#pragma once

#include "state/controls.h"
#include "ui/painted_frame.h"

namespace qxui {

// A frame: its back colour and, when it has a caption, an etched border with
// the caption on its top edge.
class FrameBox : public PaintedFrame<Frame> {
public:
    FrameBox(QWidget* parent, const Frame& frame);
    // Height beyond the design's, in twips: the room a tall window has to
    // spare below the grids goes to the plan lists.
    void setExtraHeight(double twips) { extraHeight_ = twips; }

protected:
    double extraHeight() const override { return extraHeight_; }
    void paintContent(QPainter& painter) override;

private:
    double extraHeight_ = 0;
};

} // namespace qxui

#pragma once

#include "state/controls.h"
#include "ui/painted_frame.h"

struct GridSurface;

namespace qxui {

// The weekday header bar: the corner frame with "星期", "课节" and the
// diagonal, the weekday names and the lines between them. All of it is
// fixed design, so it is drawn rather than built of controls.
class HeaderBar : public PaintedFrame<Frame> {
public:
    HeaderBar(QWidget* parent, const GridSurface& grid);

protected:
    void paintContent(QPainter& painter) override;

private:
    const GridSurface& grid_;
};

} // namespace qxui

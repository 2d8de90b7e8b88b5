#pragma once

#include "state/controls.h"
#include "ui/painted_frame.h"

struct GridSurface;

namespace qxui {

// The heading frame: period headings and the separator lines between them.
class HeadingColumn : public PaintedFrame<Frame> {
public:
    HeadingColumn(QWidget* parent, const GridSurface& grid);

protected:
    void paintContent(QPainter& painter) override;

private:
    const GridSurface& grid_;
};

} // namespace qxui

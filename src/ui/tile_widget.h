#pragma once

#include "state/controls.h"
#include "ui/painted_frame.h"

namespace qxui {

// An animation tile: a raised button face with its caption, above the cells
// it moves over.
class TileWidget : public PaintedFrame<CommandButton> {
public:
    TileWidget(QWidget* parent, const CommandButton& button);
    void refresh(const TwipScale& scale) override;

protected:
    void paintContent(QPainter& painter) override;
};

} // namespace qxui

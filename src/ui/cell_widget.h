#pragma once

#include "qxmavowin/side.h"
#include "state/controls.h"
#include "ui/cell_state.h"
#include "ui/event_sink.h"
#include "ui/twips.h"

#include <QAccessible>
#include <QPoint>
#include <QWidget>

namespace qxui {

class CellGrid;

// One grid cell: a label with back and text colour, a centred caption of one
// or two lines and a tooltip. A drag source and a drop target. For assistive
// tools it has a name (weekday, period, caption) and a description (its
// state in words).
class CellWidget : public QWidget {
public:
    CellWidget(CellGrid& grid, EventSink& sink, const Label& label, Side side, int weekday, int index);

    const Label& label() const { return label_; }
    CellGrid& grid() const { return grid_; }
    Side side() const { return side_; }
    int weekday() const { return weekday_; }
    int index() const { return index_; }

    void refresh(const TwipScale& scale);
    // Reads the cell's state again; repaints and tells assistive tools when
    // it changed.
    void updateState();
    bool carried() const { return carried_; }
    void setCarried(bool carried);
    // The numbers of an offered chain's moves that arrive at and leave the
    // cell; 0 for none.
    void setChainMoves(int arriving, int leaving);

    QString spokenName() const;
    QString spokenDescription() const;
    // Tells assistive tools of a change (cheap while none listens).
    void announce(QAccessible::Event event);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void paintPresentation(QPainter& painter);

    CellGrid& grid_;
    EventSink& sink_;
    const Label& label_;
    Side side_;
    int weekday_;
    int index_;
    CellState state_ = CellState::Plain;
    bool carried_ = false;
    int chainArriving_ = 0, chainLeaving_ = 0;
    QPoint pressAt_;
    bool leftPressed_ = false;
};

} // namespace qxui

#pragma once

#include "state/controls.h"
#include "ui/event_sink.h"
#include "ui/frame_box.h"

#include <array>
#include <vector>

struct GridSurface;

namespace qxui {

// The frame that holds a grid's cells and one stop of the focus chain. The
// arrow keys move its focus cell, a clear frame over the cell's colours;
// while something is carried, the focus cell is the target and its frame
// says so. Its other keys go to the sink (CellKey).
class CellGrid : public FrameBox {
public:
    CellGrid(QWidget* parent, EventSink& sink, const GridSurface& grid);

    const GridSurface& surface() const { return grid_; }
    void addCell(CellWidget* cell);
    CellWidget* cell(int weekday, int index) const;
    int rows(int weekday) const;

    CellWidget* focusCell() const { return cell(focusWeekday_, focusIndex_); }
    void setFocusCell(int weekday, int index);
    bool showsFocusFrame(const CellWidget& cell) const { return hasFocus() && focusCell() == &cell; }
    bool carrying() const { return carrying_; }
    void setCarrying(bool carrying);

    // Whether the grid shows an analysis: white cells are blocked then.
    bool showsAnalysis() const { return analysisShown_; }
    // Reads it again from the surface; true when it changed.
    bool readAnalysis();
    void updateStates();

    bool marks() const { return marks_; }
    void setMarks(bool on);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void updateFocusCell();

    EventSink& sink_;
    const GridSurface& grid_;
    std::array<std::vector<CellWidget*>, 7> cells_;
    int focusWeekday_ = 1;
    int focusIndex_ = 0;
    bool carrying_ = false;
    bool analysisShown_ = false;
    bool marks_ = false;
};

} // namespace qxui

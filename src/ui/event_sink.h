#pragma once

// The widgets that draw the control's surface draw their surface objects
// (state/controls.h) straight from them, are told by refresh() that they
// changed, and report the user's actions to an EventSink; none of them
// decides anything.

namespace qxui {

class CellWidget;
class PlanListWidget;

// The keys of a grid that stand for what the mouse does, pressed on its
// focus cell.
enum class CellKey {
    Analyse, // Space, the menu key, Shift+F10: the right click
    Enter,   // picks the cell's lesson up, or drops what is carried there
    Escape,  // puts what is carried down without a change
    Delete,  // the grid's 删除 button
};

// Where the widgets send what the user did.
class EventSink {
public:
    virtual ~EventSink() = default;
    // False when the key means nothing now (an Escape with nothing carried).
    virtual bool cellKeyPressed(CellWidget& cell, CellKey key) = 0;
    virtual void planItemEntered(PlanListWidget& list, int row) = 0;
    virtual void cellRightClicked(const CellWidget& cell) = 0;
    virtual void cellDragStarted(CellWidget& cell) = 0;
    virtual void cellDragEntered(const CellWidget& cell) = 0;
    virtual void cellDropped(const CellWidget& cell) = 0;
    virtual void planItemPressed(PlanListWidget& list, int row) = 0;
    virtual void planItemClicked(PlanListWidget& list, int row) = 0;
    virtual void planDragStarted(PlanListWidget& list, int row) = 0;
    virtual void helpClicked() = 0;
};

} // namespace qxui

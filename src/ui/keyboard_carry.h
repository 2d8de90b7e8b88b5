#pragma once

namespace qxui {

class CellWidget;
class PlanListWidget;

// What the keyboard carries between a pick-up and its drop: a grid's lesson
// (its cell) or a plan list's entry. It is presentation only: the control
// learns of it through the same drag-over and drop as from the mouse.
struct Carry {
    CellWidget* cell = nullptr;
    PlanListWidget* list = nullptr;
    bool active() const { return cell || list; }
};

} // namespace qxui

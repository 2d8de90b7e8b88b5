#pragma once

#include "qxmavowin/side.h"

class ControlState;
struct ChainOffer;
struct Label;

// Drag-over of a cell: records it as the drag source while the capture is
// armed, and disarms the capture.
void CellDragOver(ControlState& state, Label& cell);

// A drop on a cell: a new lesson from the selected plan item, a move or
// exchange of the analysed lesson, or a silent refusal, decided by the
// colours the move analysis left; a refused drop offers chains of moves. Busy state and one failure path; the
// writes of one drop are one unit, so a failed drop changes nothing in the
// database.
void DropOnCell(ControlState& state, ChainOffer& offer, Label& target, Side side);

// The database side of a move or exchange, as one unit: the target's lesson
// (or, for an empty target, the moved lesson's class's lesson in the target
// slot) takes the source slot, and the moved lesson takes the target slot.
// Nothing when there is no target.
void ExchangeLessons(ControlState& state, Label& source, Label* target);

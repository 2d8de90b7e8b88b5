#pragma once

#include <QString>

class QX_MavoWin;
struct Label;

// Drag-over of a cell: records it as the drag source while the capture is armed.
void CellDragOver(QX_MavoWin& control, Label& cell);

// A drop on a cell: a new lesson, a move or exchange, or a silent refusal.
void DropOnCell(QX_MavoWin& control, Label& target, const QString& kind);

// The database side of a move or exchange.
void ExchangeLessons(QX_MavoWin& control, Label& source, Label* target);

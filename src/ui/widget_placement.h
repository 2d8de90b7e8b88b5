#pragma once

class QRect;
class QWidget;

namespace qxui {

// Moves and shows or hides a widget only when the surface says something new.
void placeWidget(QWidget& widget, const QRect& rect);
void showWidget(QWidget& widget, bool visible);

} // namespace qxui

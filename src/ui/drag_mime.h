#pragma once

#include <QString>

namespace qxui {

// The MIME type of a drag inside the control. The payload is not read: the
// control judges a drop by its own drag state, not by what was dragged.
inline const QString kDragMimeType = QStringLiteral("application/x-qxmavowin-drag");

} // namespace qxui

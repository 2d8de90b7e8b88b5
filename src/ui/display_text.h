#pragma once

#include <QString>

namespace qxui {

// A caption with CR LF (or CR) as line breaks.
QString displayText(const QString& caption);

} // namespace qxui

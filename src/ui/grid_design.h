#pragma once

// What the grids' fixed design shares: the names of the weekdays, drawn on
// the header bar and spoken for each cell, and the colour of the lines.

#include <QString>
#include <cstdint>

namespace qxui {

inline const QString kWeekdayNames[7] = {
    QStringLiteral("星期一"), QStringLiteral("星期二"), QStringLiteral("星期三"), QStringLiteral("星期四"),
    QStringLiteral("星期五"), QStringLiteral("星期六"), QStringLiteral("星期日"),
};

constexpr std::int32_t kLineColor = static_cast<std::int32_t>(0x80000008u);

} // namespace qxui

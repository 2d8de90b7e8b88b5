#pragma once

#include <QString>

// A place in the week: weekday 1 (Monday) to 7, period from 1.
struct Slot {
    int weekday = 0;
    int period = 0;

    bool operator==(const Slot&) const = default;
    auto operator<=>(const Slot&) const = default;
};

// "星期一", as the user reads a weekday 1..7.
QString weekdayText(int weekday);
// "星期一第3节", as the user reads a slot.
QString slotText(Slot slot);

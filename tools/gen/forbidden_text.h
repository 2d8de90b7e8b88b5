#pragma once

#include <QString>
#include <QVariant>
#include <vector>

// The 不排课节 values the generator writes; the control's reader is
// store/forbidden_periods.h.
namespace gen {

// One entry of a value: a weekday and its periods, written
// "weekday:period\tperiod/".
struct ForbiddenDay {
    int weekday = 1;
    std::vector<int> periods;
};
QString forbiddenText(const std::vector<ForbiddenDay>& days);

// The value of no forbidden period: empty, not null, as the control reads a
// null 不排课节 as a failure.
QVariant noPeriods();

} // namespace gen

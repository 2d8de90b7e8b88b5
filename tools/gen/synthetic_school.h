#pragma once

#include "gen/school.h"

#include <cstdint>

namespace gen {

struct SyntheticOptions {
    int classes = 12;
    int teachers = 30;
    int morning = 4;
    int afternoon = 4;
    int evening = 0;
    int days = 5;           // teaching weekdays, 1 to 7
    int itemsPerClass = 12; // plan items (courses) per class, at most 16
    double fill = 1.0;      // share of the plan hours to place, 0 to 1
    std::uint64_t seed = 1;
};

// A school of any size in one timetable (2005-2006 / 2 / 课表): each class
// gets its courses with 1 to 6 hours filling all but about one slot of its
// week, teachers are spread over the courses by their hours, and the chosen
// share of hours is placed clash-free (per class and per teacher slot),
// outside every forbidden period. Hours that cannot be placed stay left.
School syntheticSchool(const SyntheticOptions& options);

} // namespace gen

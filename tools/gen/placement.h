#pragma once

#include "gen/random.h"
#include "gen/school.h"

#include <vector>

namespace gen {

// The week the placement fills: weekdays 1..days, periods 1..periods.
struct Week {
    int days = 5;
    int periods = 8;
};

// Places wanted[i] hours of plan item school.plans[i] (only items of xnId;
// others must want 0) as new lessons, greedily and with a one-move repair:
// never two lessons of a class or of a teacher in one slot, never in a
// forbidden period of the item's teacher, class, course or own settings,
// never more lessons of an item on a day than its course's 连上节数 nor more
// classes at once than its course's 同时排班数 (0 or null: no limit).
// Hours that find no slot stay unplaced. Returns the number placed.
int placeLessons(School& school, const QString& xnId, const Week& week, const std::vector<int>& wanted, Random& random);

// A braced lower-case GUID-like lesson id, as host programs write them.
QString lessonId(Random& random);

} // namespace gen

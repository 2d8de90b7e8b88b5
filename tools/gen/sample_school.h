#pragma once

#include "gen/school.h"

namespace gen {

// The school of the test host: timetable 2005-2006 / 2 / 课表 with 12
// classes in two levels, 26 teachers (王芳 and 吴凡 share the code WF),
// 12 courses, 4 + 4 + 0 periods on weekdays 1 to 5, a clash-free timetable
// with some hours left, some forbidden periods; and a second timetable
// (term 1) with a few rows of its own that scoping by xn_id must ignore.
School sampleSchool();

} // namespace gen

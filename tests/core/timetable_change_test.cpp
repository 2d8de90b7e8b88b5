#include "store/timetable_change.h"

#include <gtest/gtest.h>

namespace {

// What a desk makes of a notification's payload: the trigger's (with
// PostgreSQL's blanks), the control's own, one of another timetable, one too
// large to name its classes, and one it cannot read.
TEST(TimetableChange, PayloadsOfTheTriggerAndTheControlAreRead)
{
    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many << QStringLiteral("class-%1").arg(i);
    // The classes and teachers named, as "classes|teachers".
    struct Case {
        const char* name;
        QString payload;
        bool forThisTimetable, everything;
        QString named;
        bool hours = true;
    };
    const std::vector<Case> cases{
        {"trigger", R"({"xn" : "X1", "bj" : ["B1", "B2"], "js" : ["T1", null], "hours" : false})", true, false,
         "B1 B2|T1", false},
        {"control", noticePayload("X1", {false, {"B1"}, {"T1", "T2"}, false}), true, false, "B1|T1 T2", false},
        {"without hours", R"({"xn":"X1","bj":["B1"],"js":[]})", true, false, "B1|"},
        {"another timetable", noticePayload("X2", {false, {"B1"}, {"T1"}}), false, false, {}},
        {"too large", noticePayload("X1", {false, many, {}, false}), true, true, "|"},
        {"unreadable", "B1,T1", true, true, "|"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_LT(k.payload.toUtf8().size(), 8000);
        const std::optional<TimetableChange> change = parseNotice(k.payload, "X1");
        ASSERT_EQ(change.has_value(), k.forThisTimetable);
        if (!change)
            continue;
        EXPECT_EQ(change->everything, k.everything);
        EXPECT_EQ(change->classIds.join(u' ') + u'|' + change->teacherIds.join(u' '), k.named);
        EXPECT_EQ(change->hoursChanged, k.hours);
    }
}

} // namespace

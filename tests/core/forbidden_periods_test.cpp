#include "store/forbidden_periods.h"

#include <gtest/gtest.h>

namespace {

using Cells = std::vector<std::pair<int, int>>;

// Every (weekday, period) a value forbids on a grid of ten periods.
Cells forbidden(const QString& value)
{
    Cells out;
    for (int d = 1; d <= 7; ++d)
        for (int k = 1; k <= 10; ++k)
            if (periodForbidden(value, d, k))
                out.emplace_back(d, k);
    return out;
}

TEST(ForbiddenPeriods, EntriesNameAWeekdayAndTabSeparatedPeriodsMatchedAsText)
{
    EXPECT_EQ(forbidden("1:3/5:1/"), (Cells{{1, 3}, {5, 1}}));
    EXPECT_EQ(forbidden("3:2\t6/7:10"), (Cells{{3, 2}, {3, 6}, {7, 10}}));
    EXPECT_EQ(forbidden("2:4:5/4:10\t31/"), (Cells{{2, 4}, {4, 10}}));
    EXPECT_EQ(forbidden("//8:1/0:2/x:1/1.5:2/ 6:5/"), (Cells{{6, 5}}));
    for (const char* none : {"", "/", "1:03/", "1: 3/", "1:3 /", "2/"})
        EXPECT_TRUE(forbidden(none).empty()) << none;
}

TEST(ForbiddenPeriods, EntriesKeepTheirOrderAndAMissingPeriodPartIsFlagged)
{
    const auto entries = parseForbiddenPeriods("2:1/9:9/2:3/5/");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[0].weekday == 2 && entries[0].names(1));
    EXPECT_TRUE(entries[1].weekday == 2 && entries[1].names(3) && !entries[1].names(1));
    EXPECT_TRUE(entries[2].weekday == 5 && !entries[2].hasPeriods && !entries[2].names(5));
}

TEST(ForbiddenPeriods, HugeAndMalformedTextEndsWithoutFailing)
{
    for (const QString& huge : {QString(200000, u'9') + ":1/", QString(200000, u'/'), QString(200000, u':')})
        EXPECT_TRUE(parseForbiddenPeriods(huge).empty());
    QString many;
    for (int i = 0; i < 20000; ++i)
        many += QStringLiteral("3:\t\t%1/").arg(i % 12);
    EXPECT_EQ(parseForbiddenPeriods(many).size(), 20000u);
    EXPECT_TRUE(periodForbidden(many, 3, 11));
    EXPECT_TRUE(periodForbidden("1:" + QString(200000, u'\t') + "7", 1, 7));
    EXPECT_NO_THROW(parseForbiddenPeriods(QString::fromUtf8("1:\xF0\x9F\x98\x80\t\0/\x01:2/", 15)));
}

} // namespace

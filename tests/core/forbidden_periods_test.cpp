#include "adjust/forbidden_periods.h"

#include <gtest/gtest.h>

namespace {

// Every (weekday, period) a value forbids on a grid of ten periods.
std::vector<std::pair<int, int>> forbidden(const QString& value)
{
    std::vector<std::pair<int, int>> out;
    for (int d = 1; d <= 7; ++d)
        for (int k = 1; k <= 10; ++k)
            if (periodForbidden(value, d, k))
                out.emplace_back(d, k);
    return out;
}

using Cells = std::vector<std::pair<int, int>>;

TEST(ForbiddenPeriods, EntriesClosedBySlashNameWeekdayAndTabSeparatedPeriods)
{
    EXPECT_EQ(forbidden("1:3/5:1/"), (Cells{{1, 3}, {5, 1}}));
    EXPECT_EQ(forbidden("1:3\t4/"), (Cells{{1, 3}, {1, 4}}));
    EXPECT_EQ(forbidden("3:2\t6/"), (Cells{{3, 2}, {3, 6}}));
    // The last entry need not be closed; further ":" fields are ignored.
    EXPECT_EQ(forbidden("7:10"), (Cells{{7, 10}}));
    EXPECT_EQ(forbidden("2:4:5/"), (Cells{{2, 4}}));
}

TEST(ForbiddenPeriods, PeriodsAreMatchedAsTextBetweenTabs)
{
    EXPECT_TRUE(forbidden("1:03/").empty());
    EXPECT_TRUE(forbidden("1: 3/").empty());
    EXPECT_TRUE(forbidden("1:3 /").empty());
    // 1 is not found inside 10 or 31.
    EXPECT_EQ(forbidden("4:10\t31/"), (Cells{{4, 10}}));
    EXPECT_FALSE(periodForbidden("1:0/", 1, 0));
    EXPECT_FALSE(periodForbidden("1:-1/", 1, -1));
}

TEST(ForbiddenPeriods, EmptyEntriesAndWeekdaysOutsideTheWeekAreSkipped)
{
    EXPECT_EQ(forbidden("//8:1/0:2//6:5/"), (Cells{{6, 5}}));
    EXPECT_TRUE(forbidden("").empty());
    EXPECT_TRUE(forbidden("/").empty());
    EXPECT_TRUE(forbidden("x:1/1.5:2/:3/").empty());
    // The weekday is read as a number: blanks before it and a zero fraction pass.
    EXPECT_EQ(forbidden(" 2:1/2.0:2/"), (Cells{{2, 1}, {2, 2}}));
}

TEST(ForbiddenPeriods, ParsedEntriesKeepTheirOrderAndFlagAMissingPeriodPart)
{
    const auto entries = parseForbiddenPeriods("2:1/9:9/2:3/5/");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].weekday, 2);
    EXPECT_TRUE(entries[0].names(1));
    EXPECT_EQ(entries[1].weekday, 2);
    EXPECT_TRUE(entries[1].names(3));
    EXPECT_FALSE(entries[1].names(1));
    EXPECT_EQ(entries[2].weekday, 5);
    EXPECT_FALSE(entries[2].hasPeriods);
    EXPECT_FALSE(entries[2].names(5));
}

TEST(ForbiddenPeriods, HugeAndMalformedTextEndsWithoutFailing)
{
    const QString longDigits(200000, u'9');
    EXPECT_TRUE(parseForbiddenPeriods(longDigits + ":1/").empty());
    EXPECT_TRUE(parseForbiddenPeriods(QString(200000, u'/')).empty());
    EXPECT_TRUE(parseForbiddenPeriods(QString(200000, u':')).empty());

    QString manyEntries;
    for (int i = 0; i < 20000; ++i)
        manyEntries += QStringLiteral("3:\t\t%1/").arg(i % 12);
    EXPECT_EQ(parseForbiddenPeriods(manyEntries).size(), 20000u);
    EXPECT_TRUE(periodForbidden(manyEntries, 3, 11));
    EXPECT_FALSE(periodForbidden(manyEntries, 4, 11));

    const QString tabs = QStringLiteral("1:") + QString(200000, u'\t') + QStringLiteral("7");
    EXPECT_TRUE(periodForbidden(tabs, 1, 7));
    EXPECT_FALSE(periodForbidden(tabs, 1, 1));

    const QString junk = QString::fromUtf8("1:\xF0\x9F\x98\x80\t\0/\x01:2/", 15);
    EXPECT_NO_THROW(parseForbiddenPeriods(junk));
}

} // namespace

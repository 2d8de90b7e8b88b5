#include "store/value_text.h"

#include <gtest/gtest.h>

TEST(JoinText, NullIsEmptyAndWholeRealsLoseTheFraction)
{
    EXPECT_EQ(joinText(QVariant()), QString());
    EXPECT_EQ(joinText(QVariant(QMetaType(QMetaType::QString))), QString());
    EXPECT_EQ(joinText(QVariant(3.0)), QStringLiteral("3"));
    EXPECT_EQ(joinText(QVariant(2.5)), QStringLiteral("2.5"));
    EXPECT_EQ(joinText(QVariant(qlonglong(-7))), QStringLiteral("-7"));
    EXPECT_EQ(joinText(QVariant(QStringLiteral("甲"))), QStringLiteral("甲"));
}

TEST(LeadingNumber, ReadsUpToTheFirstOtherCharacter)
{
    EXPECT_EQ(leadingNumber(QStringLiteral("8")), 8);
    EXPECT_EQ(leadingNumber(QStringLiteral("  12abc")), 12);
    EXPECT_EQ(leadingNumber(QStringLiteral("-3.5x")), -3.5);
    EXPECT_EQ(leadingNumber(QStringLiteral("+4")), 4);
    EXPECT_EQ(leadingNumber(QStringLiteral("abc")), 0);
    EXPECT_EQ(leadingNumber(QString()), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("-")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("7.")), 7);
}

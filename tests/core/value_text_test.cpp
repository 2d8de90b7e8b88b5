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
    const std::pair<QString, double> cases[] = {{"8", 8},   {"  12abc", 12}, {"-3.5x", -3.5}, {"+4", 4},
                                                {"abc", 0}, {"", 0},         {"-", 0},        {"7.", 7}};
    for (const auto& [text, number] : cases)
        EXPECT_EQ(leadingNumber(text), number) << text.toStdString();
}

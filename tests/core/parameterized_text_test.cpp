#include "store/parameterized_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ParameterizedText, EveryQuotedValueBecomesAParameterInOrder)
{
    const struct {
        const char* text;
        const char* parameterized;
        QStringList literals;
    } cases[] = {
        {"select * from t where a='x' and b='it''s'", "select * from t where a=$1 and b=$2", {"'x'", "'it''s'"}},
        {"insert into t values ('','1',2)", "insert into t values ($1,$2,2)", {"''", "'1'"}},
        // What looks like a parameter, a comment or an end inside a value or
        // a quoted name is part of it.
        {"select \"a'b\" from t where c='$1; -- /*'", "select \"a'b\" from t where c=$1", {"'$1; -- /*'"}},
        {"select distinct 级别 from info_bj where  1=1 ", "select distinct 级别 from info_bj where  1=1 ", {}},
    };
    for (const auto& k : cases) {
        const auto out = parameterized(QString::fromUtf8(k.text));
        ASSERT_TRUE(out) << k.text;
        EXPECT_EQ(out->text, QString::fromUtf8(k.parameterized));
        EXPECT_EQ(out->literals, k.literals);
    }
}

TEST(ParameterizedText, RefusesWhatAPlainScanCouldMisread)
{
    for (const char* text : {
             "select * from t where a=$1",
             "select $$x$$",
             "select 1; select 2",
             "select 1 -- note",
             "select /* note */ 1",
             "select E'a\\nb'",
             "select U&'a'",
             "select 'a\\' or 1=1 --'",
             "select 'open",
             "select \"open",
         })
        EXPECT_FALSE(parameterized(QString::fromUtf8(text))) << text;
}

} // namespace

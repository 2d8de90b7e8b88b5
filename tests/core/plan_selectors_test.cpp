#include "control/qx_mavowin.h"
#include "plan/selectors.h"
#include "store/connection.h"
#include "store/plan_statements.h"
#include "store/value_text.h"
#include "support/small_school.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

namespace {

std::vector<QString> texts(const std::vector<QVariant>& values)
{
    std::vector<QString> out;
    for (const QVariant& v : values)
        out.push_back(joinText(v));
    return out;
}

class SelectorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        insertSmallSchool(db, "4", "4", false);
        db.execAll({
            "insert into info_bj values ('B4','4班','高二','高中','文')",
            "insert into info_bj values ('B3','3班','初一','初中',null)",
            // D赵 shares B李's short code; by name B李 comes first.
            "insert into info_js values ('T4','D赵','BL','语文组')",
        });
        c.attach(db.db());
        c.conn().setTraceEnabled(true);
        c.session().XnId = QStringLiteral("X1");
        c.context().PlanViewSql = sql::planView(1, QStringLiteral("X1"));
    }

    void fillAll()
    {
        Surface& s = c.surface();
        FillSelector(c.state(), "级别", "info_bj", " 1=1 ", s.cmbJb, "级别");
        FillSelector(c.state(), "id,班级", "info_bj", " 1=1 ", s.cmbBj, "班级");
        FillSelector(c.state(), "id,简码,姓名", "info_js", " 1=1 ", s.cmbJs, "姓名");
    }

    QString lastStatement() { return c.conn().trace().back().text; }

    TempDb db;
    QX_MavoWin c;
};

TEST_F(SelectorTest, FillKeepsIdsParallelToTheEntriesOrLeavesOneEmptyId)
{
    for (bool empty : {false, true}) {
        SCOPED_TRACE(empty ? "no rows" : "rows");
        if (empty)
            db.execAll({"delete from info_bj", "delete from info_js"});
        fillAll();
        Surface& s = c.surface();
        using V = std::vector<QString>;
        EXPECT_EQ(s.cmbJb.entries(), empty ? V{""} : (V{"初中", "高中", ""}));
        EXPECT_EQ(s.cmbBj.entries(), empty ? V{} : (V{"1班", "2班", "3班", "4班"}));
        EXPECT_EQ(texts(c.context().ClassIds), empty ? V{""} : (V{"B1", "B2", "B3", "B4"}));
        EXPECT_EQ(s.cmbJs.entries(), empty ? V{} : (V{"A张", "B李", "C王", "D赵"}));
        EXPECT_EQ(texts(c.context().TeacherIds), empty ? V{""} : (V{"T1", "T2", "T3", "T4"}));
        EXPECT_EQ(texts(c.context().TeacherCodes), empty ? V{""} : (V{"AZ", "BL", "CW", "BL"}));
    }
    EXPECT_FALSE(c.context().ClassIds[0].isValid());
    // The empty placeholder code is no teacher: Enter on an empty box selects nothing.
    int key = 13;
    EXPECT_NO_THROW(ShortCodeKeyPress(c.state(), key));
    EXPECT_EQ(c.surface().cmbJs.ListIndex(), -1);

    // The mode goes by the name whatever its case; no order column, no order by.
    db.exec("insert into info_bj values ('B3','3班','初一','初中',null)");
    ComboBox other;
    other.Name = "CmBbJ";
    FillSelector(c.state(), "id,班级", "info_bj", " 级别='初中' ", other, "");
    EXPECT_EQ(lastStatement(), "select distinct id,班级 from info_bj where  级别='初中' ");
    EXPECT_EQ(other.entries(), (std::vector<QString>{"3班"}));
    EXPECT_EQ(texts(c.context().ClassIds), (std::vector<QString>{"B3"}));
}

TEST_F(SelectorTest, LevelAndGradeNarrowTheClassSelector)
{
    fillAll();
    Surface& s = c.surface();
    using V = std::vector<QString>;

    s.cmbJb.setListIndex(2); // the empty level stands for every class
    EXPECT_EQ(s.cmbNj.entries(), (V{"初一", "高一", "高二", ""}));
    s.cmbJb.setListIndex(1);
    EXPECT_EQ(lastStatement(), "select distinct 年级 from info_bj where  级别='高中'  order by 年级");
    EXPECT_EQ(s.cmbNj.entries(), (V{"高一", "高二", ""}));
    EXPECT_EQ(s.cmbBj.ListCount(), 4); // classes wait for the grade

    // The empty grade: the level condition directly followed by " and 1=1 ".
    s.cmbNj.setListIndex(2);
    EXPECT_EQ(lastStatement(), "select distinct id,班级 from info_bj where  级别='高中'  and 1=1  order by 班级");
    EXPECT_EQ(texts(c.context().ClassIds), (V{"B1", "B2", "B4"}));
    s.cmbNj.setListIndex(0);
    EXPECT_EQ(lastStatement(),
              "select distinct id,班级 from info_bj where  级别='高中'  and 年级='高一'  order by 班级");
    EXPECT_EQ(texts(c.context().ClassIds), (V{"B1", "B2"}));
    EXPECT_EQ(s.cmbBj.ListIndex(), -1);

    // The texts are read when the choice is made: a typed level counts.
    s.cmbJb.setText("初中");
    LevelChosen(c.state());
    EXPECT_EQ(s.cmbNj.entries(), (V{"初一", ""}));
}

// Enter selects the first teacher with the code, in any case; Enter again
// with the same text goes on to the next one, in the selector's order, and
// round again; the status names them all.
TEST_F(SelectorTest, ShortCodeEnterSelectsEveryTeacherWithTheCodeInTurn)
{
    db.execAll({"insert into info_js values ('T5','E钱','bl','数学组')"});
    fillAll();
    Surface& s = c.surface();
    std::vector<QString> chosen;
    s.cmbJs.onClick = [&] { chosen.push_back(s.cmbJs.Text()); };
    // Only Enter searches: nothing for "bl" with another key, nor for xx.
    const std::pair<const char*, int> presses[] = {{"bl", 'a'}, {"cW", 13}, {"xx", 13}, {"Bl", 13},
                                                   {"Bl", 13},  {"Bl", 13}, {"Bl", 13}};
    for (const auto& [code, pressed] : presses) {
        s.txtJm.Text = code;
        int key = pressed;
        ShortCodeKeyPress(c.state(), key);
        EXPECT_EQ(key, pressed);
    }
    EXPECT_EQ(chosen, (std::vector<QString>{"C王", "B李", "D赵", "E钱", "B李"}));
    EXPECT_EQ(s.statusText.value(), QStringLiteral("简码 Bl 有 3 位教师：B李、D赵、E钱；再按回车选下一位"));
}

TEST_F(SelectorTest, FollowingALessonSelectsItsTeacherOrClass)
{
    fillAll();
    Surface& s = c.surface();
    std::vector<int> classChoices, teacherChoices;
    s.cmbBj.onClick = [&] { classChoices.push_back(s.cmbBj.ListIndex()); };
    s.cmbJs.onClick = [&] { teacherChoices.push_back(s.cmbJs.ListIndex()); };
    auto follow = [&](const QString& tagText, ComboBox& selector, Side kind) {
        Label cell;
        cell.Tag = tagText;
        FollowLessonInSelector(c.state(), cell, selector, kind);
    };

    for (const char* lesson : {"", "L1\tB1\tT3\tK1", "L1\tB1\tT9\tK1"})
        follow(lesson, s.cmbJs, Side::Teacher);
    EXPECT_EQ(teacherChoices, (std::vector<int>{2}));
    EXPECT_TRUE(classChoices.empty());

    // A class outside the narrowed selector: all classes come back, then it is chosen.
    s.cmbJb.setListIndex(0); // 初中
    s.cmbNj.setListIndex(0); // 初一
    ASSERT_EQ(texts(c.context().ClassIds), (std::vector<QString>{"B3"}));
    follow("L1\tB2\tT1\tK1", s.cmbBj, Side::Class);
    EXPECT_EQ(texts(c.context().ClassIds), (std::vector<QString>{"B1", "B2", "B3", "B4"}));
    EXPECT_EQ(classChoices, (std::vector<int>{1}));
    EXPECT_EQ(s.cmbBj.Text(), "2班");

    // A class that is nowhere: one refill, then the search ends.
    s.cmbNj.setListIndex(0);
    const size_t before = c.conn().trace().size();
    follow("L1\tB9\tT1\tK1", s.cmbBj, Side::Class);
    EXPECT_EQ(c.conn().trace().size(), before + 1);
    EXPECT_EQ(classChoices, (std::vector<int>{1}));
    EXPECT_EQ(s.cmbBj.ListIndex(), -1);
    EXPECT_TRUE(c.messages().shown().empty());
}

} // namespace

#include "control/qx_mavowin.h"
#include "store/adjust_statements.h"
#include "store/analysis_statements.h"
#include "store/connection.h"
#include "store/grid_statements.h"
#include "store/parameterized_text.h"
#include "store/plan_statements.h"
#include "store/sqlite_equivalents.h"
#include "store/timetable_statements.h"
#include "support/temp_db.h"

#include <QSqlQuery>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

// ---------------------------------------------------------------------------
// Randomised schools: every joined column sometimes null, plan items whose
// class, teacher or course rows are missing, lessons whose plan item is
// missing or belongs to another timetable, several lessons in one slot,
// settings rows twice over, and identifiers that hold single quotes or the
// statements' own fixed text.

const QVariant kNull = QVariant(QMetaType::fromType<QString>());

class SchoolMaker {
public:
    explicit SchoolMaker(unsigned seed) : rng_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    // An id from the pool, null now and then.
    QVariant idOrNull(const QStringList& pool, double nullChance = 0.1)
    {
        if (chance(nullChance))
            return kNull;
        return pool[below(static_cast<int>(pool.size()))];
    }
    QVariant numberOrNull(const std::vector<int>& values, double nullChance = 0.1)
    {
        if (chance(nullChance))
            return QVariant(QMetaType::fromType<int>());
        return values[static_cast<size_t>(below(static_cast<int>(values.size())))];
    }
    QVariant forbidden() { return idOrNull({"", "1:3/", "2:1\t4/", "7:8/1:1/", "0:2/"}, 0.15); }

private:
    std::mt19937 rng_;
};

const QStringList kTimetables{"X1", "X'2", "x''3"};
const QStringList kClasses{"B1", "B'2", "B3", "B') as info_jxjh on kcb.jxjh_id=info_jxjh.id where bj_id='B1", "", "B6"};
const QStringList kTeachers{"T1", "T'2", "T3", "T4' and 课节>0 order by 星期,课节", "T5"};
const QStringList kCourses{"K1", "K'2", "K3", "K4"};

void insert(QSqlDatabase db, const QString& statement, const QVariantList& values)
{
    QSqlQuery q(db);
    ASSERT_TRUE(q.prepare(statement)) << statement.toStdString();
    for (const QVariant& v : values)
        q.addBindValue(v);
    ASSERT_TRUE(q.exec()) << statement.toStdString();
}

// A host's own tables may lack the primary keys of the schema (the rows
// below give some ids as null), so on PostgreSQL they are dropped first.
void makeSchool(TestDatabase& tmp, unsigned seed)
{
    SchoolMaker r(seed);
    QSqlDatabase db = tmp.db();
    QStringList planIds;
    if (tmp.engine() == TestEngine::PostgreSQL)
        for (const char* table : {"info_bj", "info_js", "info_kc", "info_jxjh", "kcb"})
            tmp.exec(QStringLiteral("alter table %1 drop constraint %1_pkey, alter id drop not null")
                         .arg(QLatin1String(table)));
    db.transaction();

    for (const QString& xn : kTimetables)
        insert(db, "insert into sz_xn values (?,?,?,?)", {xn, "2005-2006", "2", xn});

    // Not every class, teacher or course has its row; a few rows have a null id.
    for (const QString& id : kClasses)
        if (r.chance(0.8))
            insert(db, "insert into info_bj values (?,?,?,?,?)",
                   {id, r.chance(0.15) ? kNull : QVariant("班'" + id), "高一", "高中", r.idOrNull({"文", "理"})});
    for (int i = r.below(3); i > 0; --i)
        insert(db, "insert into info_bj values (?,?,?,?,?)", {kNull, "无号班", "高一", "高中", "理"});
    for (const QString& id : kTeachers)
        if (r.chance(0.8))
            insert(db, "insert into info_js values (?,?,?,?)",
                   {id, r.chance(0.15) ? kNull : QVariant("师'" + id), "jm", r.idOrNull({"数学组"})});
    for (int i = r.below(3); i > 0; --i)
        insert(db, "insert into info_js values (?,?,?,?)", {kNull, "无号师", "jm", "组"});
    for (const QString& id : kCourses)
        if (r.chance(0.8))
            insert(db, "insert into info_kc values (?,?,?)",
                   {id, "课'" + id, r.chance(0.15) ? kNull : QVariant("简'" + id)});
    for (int i = r.below(2); i > 0; --i)
        insert(db, "insert into info_kc values (?,?,?)", {kNull, "无号课", "无"});

    // Plan items, some of another timetable or none, some with a null id.
    const int plans = 8 + r.below(18);
    for (int i = 0; i < plans; ++i) {
        const bool nullId = r.chance(0.05);
        const QString id = QStringLiteral("P'%1").arg(i);
        if (!nullId)
            planIds << id;
        insert(db, "insert into info_jxjh values (?,?,?,?,?,?)",
               {nullId ? kNull : QVariant(id), r.idOrNull(kTimetables, 0.08), r.idOrNull(kClasses),
                r.idOrNull(kTeachers), r.idOrNull(kCourses), r.numberOrNull({-1, 0, 1, 2, 3, 4, 6, 9, 9})});
    }

    // Lessons: few slots, so many share one; plan ids missing or null too.
    QStringList lessonPlans = planIds;
    lessonPlans << "P-missing"
                << "P'missing";
    const int lessons = 20 + r.below(60);
    for (int i = 0; i < lessons; ++i)
        insert(db, "insert into kcb values (?,?,?,?)",
               {r.chance(0.03) ? kNull : QVariant(QStringLiteral("L'%1").arg(i)), r.idOrNull(lessonPlans, 0.05),
                r.numberOrNull({0, 1, 2, 3, 3, 5, 7, 8}, 0.05), r.numberOrNull({-1, 0, 1, 2, 2, 3, 8}, 0.05)});

    // Settings, some twice over.
    for (int i = 4 + r.below(10); i > 0; --i) {
        const QVariantList js{r.idOrNull(kTimetables), r.idOrNull(kTeachers), r.forbidden(), r.numberOrNull({0, 1})};
        const QVariantList bj{r.idOrNull(kTimetables), r.idOrNull(kClasses), r.forbidden()};
        const QVariantList kc{r.idOrNull(kTimetables), r.idOrNull(kCourses),   r.forbidden(),
                              r.numberOrNull({1, 5}),  r.numberOrNull({0, 3}), r.numberOrNull({0, 2})};
        const QVariantList jxjh{r.idOrNull(planIds + QStringList{"P-missing"}), r.forbidden()};
        for (int copies = r.chance(0.2) ? 2 : 1; copies > 0; --copies) {
            insert(db, "insert into sz_js values (?,?,?,?)", js);
            insert(db, "insert into sz_bj values (?,?,?)", bj);
            insert(db, "insert into sz_kc values (?,?,?,?,?,?)", kc);
            insert(db, "insert into sz_jxjh values (?,?)", jxjh);
        }
    }
    db.commit();
}

// ---------------------------------------------------------------------------
// Reading and comparing.

using Row = std::vector<QString>;

QString cellText(const QVariant& v)
{
    if (v.isNull())
        return QStringLiteral("<null>");
    return QString::fromLatin1(v.metaType().name()) + u':' + v.toString();
}

struct Rows {
    QStringList columns;
    std::vector<Row> rows;
};

Rows readAll(Connection& conn, const QString& text)
{
    Recordset rs = conn.open(text, CursorType::Static, LockType::ReadOnly);
    Rows out{rs.columns(), {}};
    for (; !rs.atEnd(); rs.MoveNext()) {
        Row row;
        for (int i = 0; i < rs.columnCount(); ++i)
            row.push_back(cellText(rs.field(i)));
        out.rows.push_back(std::move(row));
    }
    return out;
}

// The (星期, 课节) of each row in the order delivered.
std::vector<QString> slotOrder(const Rows& r)
{
    const qsizetype weekday = r.columns.indexOf(QStringLiteral("星期"));
    const qsizetype period = r.columns.indexOf(QStringLiteral("课节"));
    std::vector<QString> out;
    for (const Row& row : r.rows)
        out.push_back(row[static_cast<size_t>(weekday)] + u'/' + row[static_cast<size_t>(period)]);
    return out;
}

// What the engine is to run in place of the control's text: the equivalent,
// on PostgreSQL with its values as parameters.
QString expectedExecuted(Engine engine, const QString& text)
{
    const QString equivalent = sqliteEquivalent(text);
    if (engine == Engine::SQLite || equivalent.isEmpty())
        return equivalent;
    const auto statement = parameterized(equivalent);
    return statement ? statement->text : QString();
}

// Runs the control's text as it is and as the engine runs it in its place
// (traced by `conn`) on the same database; returns the number of rows. Rows
// of a grid fill come in the same order.
size_t expectSameRows(Connection& plain, Connection& conn, const QString& text)
{
    const QString executed = expectedExecuted(conn.engine(), text);
    EXPECT_FALSE(executed.isEmpty()) << "not recognised: " << text.toStdString();
    if (executed.isEmpty())
        return 0;
    Rows original = readAll(plain, text);
    Rows rewritten = readAll(conn, text);
    EXPECT_EQ(conn.takeTrace().back().executed, executed) << text.toStdString();
    EXPECT_EQ(original.columns, rewritten.columns) << text.toStdString();
    if (text.endsWith(u"order by 星期,课节")) {
        EXPECT_EQ(slotOrder(original), slotOrder(rewritten)) << text.toStdString();
    }
    std::sort(original.rows.begin(), original.rows.end());
    std::sort(rewritten.rows.begin(), rewritten.rows.end());
    EXPECT_EQ(original.rows, rewritten.rows) << text.toStdString();
    return original.rows.size();
}

class SqliteEquivalentRows : public ::testing::TestWithParam<std::tuple<TestEngine, unsigned>> {};

TEST_P(SqliteEquivalentRows, MatchTheControlsStatementsOnARandomSchool)
{
    const auto [engine, seed] = GetParam();
    auto tmp = makeTestDatabase(engine);
    makeSchool(*tmp, seed);
    if (seed == 1) { // the binder writes the generator's nulls as nulls
        EXPECT_GT(tmp->scalar("select (select count(*) from info_jxjh where xn_id is null or bj_id is null or js_id is "
                              "null) * (select count(*) from kcb where 课节 is null or jxjh_id is null)")
                      .toInt(),
                  0);
    }
    Connection plain(tmp->db());
    plain.setSqliteEquivalents(false);
    plain.setPostgresEquivalents(false);
    Connection conn(tmp->db());
    conn.setTraceEnabled(true);
    SchoolMaker r(seed * 7919u + 1u);

    size_t fillRows = 0, planRows = 0, clashRows = 0;
    const struct {
        const QStringList& ids;
        QString (*filter)(const QString&);
        QString (*planCondition)(const QString&);
    } sides[] = {{kClasses, sql::classFilter, sql::classPlanCondition},
                 {kTeachers, sql::teacherFilter, sql::teacherPlanCondition}};
    for (const QString& xn : kTimetables) {
        for (const auto& side : sides)
            for (const QString& id : side.ids) {
                fillRows += expectSameRows(plain, conn, sql::gridFill(xn, side.filter(id)));
                for (int dataType : {0, 1})
                    planRows += expectSameRows(plain, conn,
                                               sql::planListFill(sql::planView(dataType, xn), side.planCondition(id)));
            }
        for (int i = 0; i < 12; ++i) {
            const QString condition =
                r.chance(0.25) ? QStringLiteral(" 1=1 ") : sql::positionCondition(1 + r.below(7), r.below(9));
            clashRows +=
                expectSameRows(plain, conn,
                               sql::clashSet(xn, kClasses[r.below(static_cast<int>(kClasses.size()))],
                                             kTeachers[r.below(static_cast<int>(kTeachers.size()))], condition));
        }
    }
    // A school where no statement finds anything would prove nothing.
    EXPECT_GT(fillRows, 0u);
    EXPECT_GT(planRows, 0u);
    EXPECT_GT(clashRows, 0u);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SqliteEquivalentRows,
                         ::testing::Combine(::testing::ValuesIn(availableEngines()), ::testing::Range(1u, 61u)),
                         [](const auto& info) {
                             return engineName(std::get<0>(info.param)) + std::to_string(std::get<1>(info.param));
                         });

// ---------------------------------------------------------------------------
// Recognition: only the exact texts the statement functions build.

TEST(SqliteEquivalentText, RebuildsTheSameValuesInTheOtherForm)
{
    const QString tricky = "B') as info_jxjh on kcb.jxjh_id=info_jxjh.id where bj_id='B1";
    for (const QString& filter : {sql::classFilter(tricky), sql::teacherFilter("T''")})
        EXPECT_EQ(sqliteEquivalent(sql::gridFill("X'1", filter)), sql::gridFillEquivalent("X'1", filter));
    for (int dataType : {0, 1, 7})
        EXPECT_EQ(sqliteEquivalent(sql::planListFill(sql::planView(dataType, "X'"), sql::teacherPlanCondition("T'"))),
                  sql::planListFill(sql::planViewEquivalent(dataType, "X'"), sql::teacherPlanCondition("T'")));
    EXPECT_EQ(sqliteEquivalent(sql::clashSet("X'", "B'", "T'", sql::positionCondition(3, 12))),
              sql::clashSetEquivalent("X'", "B'", "T'", sql::positionCondition(3, 12)));
    EXPECT_EQ(sqliteEquivalent(sql::clashSet("X", "B", "T", " 1=1 ")), sql::clashSetEquivalent("X", "B", "T", " 1=1 "));
}

TEST(SqliteEquivalentText, LeavesEveryOtherTextAsItIs)
{
    const QString fill = sql::gridFill("X1", sql::classFilter("B1"));
    const QStringList others{
        // Filters and conditions the control never builds.
        sql::gridFill("X1", "bj_id='B1' or 1=1"),
        sql::gridFill("X1", "bj_id='B1') or (1=1"),
        sql::gridFill("X1", "kc_id='K1'"),
        sql::planListFill(sql::planView(0, "X1"), " 1=1 "),
        sql::planListFill(sql::planView(0, "X1"), " bj_id='B1' or 1=1 "),
        sql::clashSet("X", "B", "T", " 星期=1 and 课节=2 or 1=1"),
        sql::clashSet("X", "B", "T", " 1=1 or 1=1 "),
        // A quote that is not doubled, a blank lost or added, text after the end.
        QString(fill).replace("X1", "X'1"),
        QString(fill).replace("right join  (", "right join ("),
        fill + " ",
        fill.chopped(1),
        QString(sql::clashSet("X", "B", "T", " 1=1 ")).replace("js_id='T' and xn_id='X'", "js_id='T' and xn_id='Y'"),
        // Other statements, and an equivalent itself.
        sql::findTimetable("2005", "2", "课表"),
        sql::classLessonAtSlot("X", "B", 1, 1),
        sql::deleteLesson("L1"),
        sql::gridFillEquivalent("X1", sql::classFilter("B1")),
        QString(),
    };
    for (const QString& text : others)
        EXPECT_TRUE(sqliteEquivalent(text).isEmpty()) << text.toStdString();
}

// Each engine's own switch decides, on every connection the control makes;
// the other engine's switch changes nothing.
class EquivalentSwitch : public ::testing::TestWithParam<TestEngine> {};

TEST_P(EquivalentSwitch, ControlAppliesItsEnginesSwitchToEveryConnection)
{
    auto tmp = makeTestDatabase(GetParam());
    tmp->execAll(
        {"insert into info_jxjh values ('P1','X1','B1','T1','K1',2)", "insert into kcb values ('L1','P1',2,3)"});
    const bool sqlite = GetParam() == TestEngine::SQLite;
    QX_MavoWin control;
    auto set = [&](bool own, bool other) {
        control.setSqliteEquivalents(sqlite ? own : other);
        control.setPostgresEquivalents(sqlite ? other : own);
    };
    // The trace keeps the control's text and shows what ran in its place
    // (on SQLite nothing for a text without an equivalent).
    const QString fill = sql::gridFill("X1", sql::classFilter("B1"));
    auto executed = [&](const QString& text) {
        control.conn().setTraceEnabled(true);
        Recordset rs = control.conn().open(text, CursorType::Static, LockType::ReadOnly);
        const TraceEntry last = control.conn().takeTrace().back();
        EXPECT_EQ(last.text, text);
        if (text == fill) {
            EXPECT_EQ(rs.field("kcb_id").toString(), "L1");
        }
        return last.executed;
    };
    set(false, true);
    control.attach(tmp->db());
    EXPECT_EQ(executed(fill), QString());
    set(true, false);
    EXPECT_EQ(executed(fill), expectedExecuted(control.conn().engine(), fill));
    if (sqlite) { // PostgreSQL prepares every text with its values as parameters
        EXPECT_EQ(executed(sql::findTimetable("a", "b", "c")), QString());
    }
    control.attach(tmp->db());
    EXPECT_NE(executed(fill), QString());
}

KBTZ_ON_EVERY_ENGINE(EquivalentSwitch);

} // namespace

// Two desks on one timetable: two controls, each on its own connection to
// the same database, one acting on a week the other still shows.
#include "adjust_fixture.h"

#include "store/control_error.h"
#include "store/statements.h"
#include "store/value_text.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <functional>
#include <map>

namespace {

class TwoDesksTest : public AdjustTest {
protected:
    void SetUp() override
    {
        AdjustTest::SetUp();
        desk2 = std::make_unique<Driver>(db->openSecond());
        desk2->control().setGuidSource([this](GuidRecord& g) {
            g = GuidRecord{};
            g.Data1 = 0x10000 + ++guids2;
            return 0;
        });
        runAt(*desk2, "ini 2005-2006 2 课表 1");
        initial = kcb();
    }

    // Runs a command at one desk; it must not end in an error or a message box.
    void runAt(Driver& desk, const QString& line)
    {
        const QJsonObject out = desk.run(line);
        EXPECT_TRUE(out.value("ok").toBool()) << qPrintable(line) << ": " << qPrintable(out.value("error").toString());
        const auto shown = desk.control().messages().take();
        EXPECT_TRUE(shown.empty()) << qPrintable(line) << ": " << qPrintable(shown.front().text);
        EXPECT_TRUE(desk.host().Enabled());
        EXPECT_EQ(desk.host().MousePointer(), 0);
    }

    // After choosing its class again, a desk's class grid shows exactly the
    // lessons the database holds for that class: every occupied slot, and the
    // lesson itself where the slot holds one only.
    void expectClassGridShowsDatabase(Driver& desk)
    {
        runAt(desk, QStringLiteral("pick cmbBj %1").arg(desk.control().surface().cmbBj.ListIndex()));
        const QString classId = joinText(desk.control().context().ClassIds.at(
            static_cast<size_t>(desk.control().surface().cmbBj.ListIndex())));
        const QStringList rows = db->rows(QStringLiteral("select kcb.id,星期,课节 from kcb join info_jxjh on "
                                                         "kcb.jxjh_id=info_jxjh.id where bj_id='%1' and 课节>0")
                                              .arg(classId));
        std::map<std::pair<int, int>, QStringList> bySlot;
        for (const QString& row : rows) {
            const QStringList f = row.split(u'|');
            bySlot[{f[1].toInt(), f[2].toInt()}] << f[0];
        }
        for (int d = 1; d <= 7; ++d) {
            for (int k = 1; k <= 8; ++k) {
                const QString shown = desk.control().cell(C, d, k - 1).Tag.section(u'\t', 0, 0);
                const auto it = bySlot.find({d, k});
                if (it == bySlot.end())
                    EXPECT_EQ(shown, "") << d << ":" << k;
                else if (it->second.size() == 1)
                    EXPECT_EQ(shown, it->second.front()) << d << ":" << k;
                else
                    EXPECT_TRUE(it->second.contains(shown)) << d << ":" << k;
            }
        }
    }

    // Runs every interleaving of two desks' command sequences, each on a
    // fresh copy of the timetable, and checks each outcome.
    void everyOrder(const QStringList& first, const QStringList& second,
                    const std::function<void(const QString& order)>& check)
    {
        std::vector<int> order(first.size(), 1);
        order.resize(first.size() + second.size(), 2);
        std::sort(order.begin(), order.end());
        do {
            QString label;
            for (int who : order)
                label += QString::number(who);
            SCOPED_TRACE(label.toStdString());
            TearDown();
            SetUp();
            int a = 0, b = 0;
            for (int who : order)
                runAt(who == 1 ? *driver : *desk2, who == 1 ? first[a++] : second[b++]);
            check(label);
            expectClassGridShowsDatabase(*driver);
            expectClassGridShowsDatabase(*desk2);
        } while (std::next_permutation(order.begin(), order.end()));
    }

    void TearDown() override
    {
        desk2.reset();
        driver.reset();
        db.reset();
    }

    // The rows of kcb other than the given lesson's.
    QStringList othersThan(const QStringList& rows, const QString& id)
    {
        QStringList out;
        for (const QString& r : rows)
            if (!r.startsWith(id + u'|'))
                out << r;
        return out;
    }

    void take()
    {
        control().conn().takeTrace();
        control().messages().take();
    }


    std::unique_ptr<Driver> desk2;
    std::uint32_t guids2 = 0;
    QStringList initial;
};

// One desk moves the lesson, the other deletes it, in every order: the
// lesson ends deleted or moved, never back, never twice; no other row changes.
TEST_P(TwoDesksTest, MoveAgainstDeleteInEveryOrder)
{
    everyOrder({"pick cmbBj 0", "rclick 班级 1 3", "dragcell 班级 1 3 班级 5 5"},
               {"pick cmbBj 0", "rclick 班级 1 3", "delete 班级"}, [&](const QString&) {
                   const QStringList now = kcb();
                   EXPECT_EQ(othersThan(now, "L1"), othersThan(initial, "L1"));
                   const QStringList l1 = db->rows("select 星期,课节 from kcb where id='L1'");
                   EXPECT_TRUE(l1.isEmpty() || l1 == QStringList{"1|3"} || l1 == QStringList{"5|5"}) << l1.join(',').toStdString();
                   EXPECT_LE(now.size(), initial.size());
               });
}

// One desk exchanges two lessons while the other moves one of them away:
// whatever the order, the six lessons stay six, each with its own plan item.
TEST_P(TwoDesksTest, ExchangeAgainstMoveInEveryOrder)
{
    everyOrder({"pick cmbBj 0", "rclick 班级 1 1", "dragcell 班级 1 1 班级 1 3"},
               {"pick cmbBj 0", "rclick 班级 1 3", "dragcell 班级 1 3 班级 5 5"}, [&](const QString&) {
                   EXPECT_EQ(db->scalar("select count(*) from kcb").toInt(), 6);
                   EXPECT_EQ(db->scalar("select count(*) from kcb where 星期 is null or 课节 is null").toInt(), 0);
                   QStringList ids;
                   for (const QString& r : kcb())
                       ids << r.section(u'|', 0, 1);
                   QStringList before;
                   for (const QString& r : initial)
                       before << r.section(u'|', 0, 1);
                   EXPECT_EQ(ids, before);
               });
}

// A desk that still shows a deleted lesson can analyse and drag it: the
// update finds no row, nothing comes back, and the next fill shows the truth.
TEST_P(TwoDesksTest, StaleDeskMovingADeletedLessonBringsNothingBack)
{
    runAt(*driver, "pick cmbBj 0");
    runAt(*desk2, "pick cmbBj 0");
    runAt(*desk2, "rclick 班级 1 3");
    runAt(*desk2, "delete 班级");
    ASSERT_EQ(kcb(), othersThan(initial, "L1"));

    EXPECT_TRUE(cell(C, 1, 3).Tag.startsWith("L1\t")); // the old week
    runAt(*driver, "rclick 班级 1 3");
    EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    runAt(*driver, "dragcell 班级 1 3 班级 5 5");
    EXPECT_TRUE(cell(C, 5, 5).Tag.startsWith("L1\t"));
    EXPECT_EQ(kcb(), othersThan(initial, "L1"));
    runAt(*driver, "rclick 班级 5 5");
    runAt(*driver, "delete 班级");
    EXPECT_EQ(kcb(), othersThan(initial, "L1"));

    expectClassGridShowsDatabase(*driver);
    expectClassGridShowsDatabase(*desk2);
}

// Both desks place the last hour of the same plan item from lists that
// were filled before either drop: both lessons are written, each once, and
// the next fill of either list no longer offers the item.
TEST_P(TwoDesksTest, LastHourPlacedAtBothDesksIsWrittenTwiceAndThenGone)
{
    runAt(*driver, "pick cmbBj 0");
    runAt(*desk2, "pick cmbBj 0");
    const int row1 = row("lstBj", "P5");
    ASSERT_GE(row1, 0);
    EXPECT_EQ(hoursLeft("lstBj", "P5"), "1");
    runAt(*driver, QStringLiteral("item lstBj %1").arg(row1));
    runAt(*driver, QStringLiteral("dragitem lstBj %1 班级 7 7").arg(row1));

    const int row2 = row("lstBj", "P5", desk2.get());
    ASSERT_GE(row2, 0);
    runAt(*desk2, QStringLiteral("item lstBj %1").arg(row2));
    runAt(*desk2, QStringLiteral("dragitem lstBj %1 班级 7 8").arg(row2));

    EXPECT_EQ(db->scalar("select count(*) from kcb where jxjh_id='P5'").toInt(), 3);
    EXPECT_EQ(db->scalar("select count(distinct id) from kcb").toInt(), 8);
    runAt(*driver, "pick cmbBj 0");
    EXPECT_EQ(row("lstBj", "P5"), -1);
    expectClassGridShowsDatabase(*driver);
    expectClassGridShowsDatabase(*desk2);
}

// Another desk holds a row of the exchange or of the removal in an open
// transaction (a host that writes inside its own transaction): the action
// waits no longer than the lock timeout, then fails as a whole and says why,
// and the lesson stays where it is (a refused removal also on screen). On
// PostgreSQL the exchange's second update (of L3) is the one that waits;
// SQLite locks the whole file, so the first does.
TEST_P(TwoDesksTest, RowHeldByAnotherDeskFailsTheWholeDropOrRemovalInsteadOfWaiting)
{
    struct Case {
        const char *analyse, *action, *hold;
        int shownAt;
    };
    for (const Case& k : {Case{"rclick 班级 1 1", "dragcell 班级 1 1 班级 1 3", "update kcb set 课节=1 where id='L3'", 0},
                          Case{"rclick 班级 1 3", "delete 班级", "update kcb set 课节=3 where id='L1'", 3}}) {
        SCOPED_TRACE(k.action);
        run(GetParam() == TestEngine::PostgreSQL ? "sql set lock_timeout = '300ms'" : "sql pragma busy_timeout = 300");
        run("pick cmbBj 0");
        run(k.analyse);
        take();
        QSqlQuery hold(db->openSecond());
        ASSERT_TRUE(hold.exec(GetParam() == TestEngine::PostgreSQL ? "begin" : "begin immediate"));
        ASSERT_TRUE(hold.exec(k.hold)) << hold.lastError().text().toStdString();

        EXPECT_TRUE(driver->run(k.action).value("ok").toBool());
        const auto shown = control().messages().take();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].title, QStringLiteral("警告"));
        EXPECT_FALSE(shown[0].text.isEmpty());
        EXPECT_TRUE(driver->host().Enabled());
        EXPECT_EQ(driver->host().MousePointer(), 0);
        EXPECT_TRUE(!k.shownAt || cell(C, 1, k.shownAt).Tag.startsWith("L1\t")); // the removal keeps L1 on screen
        ASSERT_TRUE(hold.exec("rollback"));
        EXPECT_EQ(kcb(), initial);
    }

    // With the rows free again the same drop goes through.
    run("pick cmbBj 0");
    run("rclick 班级 1 1");
    run("dragcell 班级 1 1 班级 1 3");
    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_TRUE(kcb().contains("L1|P1|1|1"));
    EXPECT_TRUE(kcb().contains("L3|P2|1|3"));
}

// A session without a lock timeout of its own (PostgreSQL's default: wait
// for ever) gets a bounded one for the drop's transaction only; a timeout
// the host set is left as it is.
TEST_P(TwoDesksTest, DropTransactionBoundsLockWaitsOnlyWhenTheHostDidNot)
{
    if (GetParam() != TestEngine::PostgreSQL)
        GTEST_SKIP() << "SQLite bounds every wait by the connection's busy timeout";
    run("pick cmbBj 0");
    QSqlDatabase conn = control().conn().database();
    auto setting = [&] {
        QSqlQuery q(conn);
        return q.exec("show lock_timeout") && q.next() ? q.value(0).toString() : QStringLiteral("(failed)");
    };
    QStringList during;
    control().conn().setFaultHook([&](const TraceEntry& e) {
        if (e.op == TraceEntry::Op::Execute)
            during << setting();
    });

    for (const char* host : {"0", "250ms"}) {
        during.clear();
        run(QStringLiteral("sql set lock_timeout = '%1'").arg(host));
        run("rclick 班级 1 1");
        run("dragcell 班级 1 1 班级 1 3");
        EXPECT_TRUE(control().messages().take().empty());
        ASSERT_EQ(during.size(), 2);
        const QString expected = QString::fromLatin1(host) == "0" ? QString::fromLatin1(WriteUnit::kUnitLockTimeout)
                                                                  : QStringLiteral("250ms");
        EXPECT_EQ(during, (QStringList{expected, expected}));
        EXPECT_EQ(setting(), QString::fromLatin1(host));
    }

    // A removal is bounded the same way.
    run("sql set lock_timeout = 0");
    during.clear();
    run("rclick 班级 1 1");
    run("delete 班级");
    EXPECT_EQ(during, QStringList{QString::fromLatin1(WriteUnit::kUnitLockTimeout)});
    EXPECT_EQ(setting(), "0");

    // Inside the host's own transaction the bound is taken back at the end of
    // the drop, so the host's later statements wait as the host chose.
    run("sql begin");
    during.clear();
    run("rclick 班级 1 3");
    run("dragcell 班级 1 3 班级 1 1");
    EXPECT_EQ(during, QStringList{QString::fromLatin1(WriteUnit::kUnitLockTimeout)});
    EXPECT_EQ(setting(), "0");
    run("sql commit");
    EXPECT_EQ(setting(), "0");
}

KBTZ_ON_EVERY_ENGINE(TwoDesksTest);

} // namespace

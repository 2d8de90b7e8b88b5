// Two desks on one timetable: two controls, each on its own connection to
// the same database, one acting on a week the other still shows.
#include "adjust_fixture.h"

#include "store/db_error_text.h"

#include "store/control_error.h"
#include "store/session_statements.h"
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
        runAt(*desk2, "ini 2005-2006 2 课表 1");
        initial = kcb();
    }

    // Runs a command at one desk. It must not end in an error; a message box
    // may only be the refusal of an edit, after which the desk shows the
    // week the database holds. Returns whether the desk was refused.
    bool runAt(Driver& desk, const QString& line)
    {
        run(line, false, &desk);
        if (desk.control().messages().shown().empty()) {
            expectHostUsable(desk, line);
            return false;
        }
        const QString said = warning(&desk);
        EXPECT_TRUE(said.startsWith(QStringLiteral("另一位用户刚刚修改了课表"))) << qPrintable(said);
        expectClassGridShowsDatabase(desk);
        return true;
    }

    // No teacher or class has two lessons in one slot, and no plan item more
    // lessons than its weekly hours (the small school starts with neither).
    void expectIntact()
    {
        for (const char* owner : {"js_id", "bj_id"})
            EXPECT_EQ(db->rows(QStringLiteral("select %1,星期,课节 from kcb join info_jxjh on kcb.jxjh_id=info_jxjh.id "
                                              "group by %1,星期,课节 having count(*)>1")
                                   .arg(owner)),
                      QStringList())
                << owner;
        EXPECT_EQ(
            db->rows("select id from info_jxjh where 每周课时<(select count(*) from kcb where jxjh_id=info_jxjh.id)"),
            QStringList());
    }

    // Runs every interleaving of two desks' command sequences, each on a
    // fresh copy of the timetable, and checks each outcome.
    void everyOrder(const QStringList& first, const QStringList& second, const std::function<void()>& check)
    {
        std::vector<int> order(first.size(), 1);
        order.resize(first.size() + second.size(), 2);
        std::sort(order.begin(), order.end());
        do {
            QString label;
            for (int who : order)
                label += QString::number(who);
            SCOPED_TRACE(label.toStdString());
            afresh();
            int a = 0, b = 0;
            for (int who : order)
                runAt(who == 1 ? *driver : *desk2, who == 1 ? first[a++] : second[b++]);
            check();
            expectIntact();
            for (Driver* desk : {driver.get(), desk2.get()}) {
                runAt(*desk, QStringLiteral("pick cmbBj %1").arg(desk->control().surface().cmbBj.ListIndex()));
                expectClassGridShowsDatabase(*desk);
            }
        } while (std::next_permutation(order.begin(), order.end()));
    }

    void TearDown() override
    {
        desk2.reset();
        AdjustTest::TearDown();
    }

    std::unique_ptr<Driver> desk2;
    QStringList initial;
};

// Two desks edit one lesson, in every order. One moves it, the other deletes
// it: the lesson ends deleted or moved, never back, never twice; no other row
// changes, and a desk acting on the week it no longer has is refused. One
// exchanges two lessons while the other moves one of them away: the six
// lessons stay six, each with its own plan item, and nobody is booked twice.
TEST_P(TwoDesksTest, TwoEditsOfOneLessonInEveryOrder)
{
    everyOrder({"pick cmbBj 0", "rclick 班级 1 3", "dragcell 班级 1 3 班级 5 5"},
               {"pick cmbBj 0", "rclick 班级 1 3", "delete 班级"}, [&] {
                   const QRegularExpression others(QStringLiteral("^(?!L1\\|)"));
                   EXPECT_EQ(kcb().filter(others), initial.filter(others));
                   const QStringList l1 = db->rows("select 星期,课节 from kcb where id='L1'");
                   EXPECT_TRUE(l1.isEmpty() || l1 == QStringList{"5|5"}) << l1.join(',').toStdString();
               });
    everyOrder({"pick cmbBj 0", "rclick 班级 1 1", "dragcell 班级 1 1 班级 1 3"},
               {"pick cmbBj 0", "rclick 班级 1 3", "dragcell 班级 1 3 班级 5 5"}, [&] {
                   const QRegularExpression slot(QStringLiteral("\\|[^|]*\\|[^|]*$"));
                   EXPECT_EQ(kcb().replaceInStrings(slot, QString()),
                             QStringList(initial).replaceInStrings(slot, QString()));
               });
}

// The races users met: a stale analysis offers a slot another desk has just
// given the same teacher (or the teacher of the class lesson that would give
// way); both desks place the last hour of one plan item; a desk moves or
// removes a lesson another desk has deleted or moved. The later edit is
// refused and shows the current week; the earlier one stands.
TEST_P(TwoDesksTest, TheLaterOfTwoConflictingEditsIsRefused)
{
    struct Race {
        const char* name;
        QStringList winner, loser; // run one after the other, loser's setup first
        QString loserEdit;
        QStringList after; // kcb rows that must be there
    };
    const std::vector<Race> races{
        {"teacher booked twice",
         {"pick cmbBj 1", "rclick 班级 2 1", "dragcell 班级 2 1 班级 5 5"},
         {"pick cmbBj 0", "rclick 班级 1 3"},
         "dragcell 班级 1 3 班级 5 5",
         {"L1|P1|1|3", "L2|P3|5|5"}},
        {"last hour twice",
         {"pick cmbBj 0", "item lstBj {P5}", "dragitem lstBj {P5} 班级 7 7"},
         {"pick cmbBj 0", "item lstBj {P5}"},
         "dragitem lstBj {P5} 班级 7 8",
         {guidId(1) + "|P5|7|7"}},
        {"moving a deleted lesson",
         {"pick cmbBj 0", "rclick 班级 1 3", "delete 班级"},
         {"pick cmbBj 0", "rclick 班级 1 3"},
         "dragcell 班级 1 3 班级 5 5",
         {}},
        {"the teacher of a displaced lesson booked twice",
         {"sql insert into info_jxjh values ('P9','X1','B2','T2','K2',1)",
          "sql insert into kcb values ('L9','P9',3,2)"},
         {"pick cmbJs 0", "rclick 教师 3 2"},
         "dragcell 教师 3 2 教师 1 1",
         {"L3|P2|1|1", "L5|P1|3|2", "L9|P9|3|2"}},
        {"removing a moved lesson",
         {"pick cmbBj 0", "rclick 班级 1 3", "dragcell 班级 1 3 班级 5 5"},
         {"pick cmbBj 0", "rclick 班级 1 3"},
         "delete 班级",
         {"L1|P1|5|5"}},
    };
    for (const Race& race : races) {
        SCOPED_TRACE(race.name);
        afresh();
        for (const QString& line : race.loser)
            EXPECT_FALSE(runAt(*desk2, line)) << qPrintable(line);
        for (const QString& line : race.winner)
            EXPECT_FALSE(runAt(*driver, line)) << qPrintable(line);
        const QStringList won = kcb();
        const QVariant logged = db->scalar("select count(*) from kcb_log");
        EXPECT_TRUE(runAt(*desk2, race.loserEdit));
        EXPECT_EQ(kcb(), won);
        EXPECT_EQ(db->scalar("select count(*) from kcb_log"), logged); // a refused edit logs nothing
        for (const QString& row : race.after)
            EXPECT_TRUE(won.contains(row)) << qPrintable(row);
        EXPECT_FALSE(desk2->control().CanUndo());
        expectIntact();
    }
}

// Another desk holds a row of the exchange or of the removal in an open
// transaction (a host that writes inside its own transaction), or is in the
// middle of an edit of the same timetable: the action waits no longer than
// the lock timeout, then fails as a whole and says why, and the lesson stays
// where it is (a refused removal also on screen). SQLite locks the whole
// file for any of them.
TEST_P(TwoDesksTest, RowHeldByAnotherDeskFailsTheWholeDropOrRemovalInsteadOfWaiting)
{
    struct Case {
        QString analyse, action, hold;
        int shownAt;
    };
    const QString editOfAnotherDesk =
        GetParam() == TestEngine::PostgreSQL ? sql::timetableEditLock("X1") : QStringLiteral("select 1");
    for (const Case& k :
         {Case{"rclick 班级 1 1", "dragcell 班级 1 1 班级 1 3", "update kcb set 课节=1 where id='L3'", 0},
          Case{"rclick 班级 1 3", "delete 班级", "update kcb set 课节=3 where id='L1'", 3},
          Case{"rclick 班级 1 1", "dragcell 班级 1 1 班级 1 3", editOfAnotherDesk, 0}}) {
        SCOPED_TRACE(k.hold.toStdString());
        run(GetParam() == TestEngine::PostgreSQL ? "sql set lock_timeout = '300ms'" : "sql pragma busy_timeout = 300");
        runAll({"pick cmbBj 0", k.analyse});
        QSqlQuery hold(db->openSecond());
        ASSERT_TRUE(hold.exec(GetParam() == TestEngine::PostgreSQL ? "begin" : "begin immediate"));
        ASSERT_TRUE(hold.exec(k.hold)) << hold.lastError().text().toStdString();

        run(k.action);
        EXPECT_FALSE(warning().isEmpty());
        EXPECT_TRUE(!k.shownAt || cell(C, 1, k.shownAt).Tag.startsWith("L1\t")); // the removal keeps L1 on screen
        ASSERT_TRUE(hold.exec("rollback"));
        EXPECT_EQ(kcb(), initial);
    }

    // With the rows free again the same drop goes through.
    runAll({"pick cmbBj 0", "rclick 班级 1 1", "dragcell 班级 1 1 班级 1 3"});
    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_TRUE(kcb().contains("L1|P1|1|1"));
    EXPECT_TRUE(kcb().contains("L3|P2|1|3"));
}

// Every statement of the control waits at most LockWaitBound::kLockWaitMs
// for a lock: a longer wait of the host's (PostgreSQL's default 0 waits for
// ever) is cut for the control's statements, a shorter one stays, and the
// host's own setting is back after each action, inside the host's
// transaction too. A wait that runs out says that the timetable is held.
TEST_P(TwoDesksTest, EveryStatementWaitsAtMostTheBoundAndTheHostsSettingComesBack)
{
    const bool pg = GetParam() == TestEngine::PostgreSQL;
    QSqlDatabase conn = control().conn().database();
    auto setting = [&] {
        QSqlQuery q(conn);
        return q.exec(pg ? "show lock_timeout" : "pragma busy_timeout") && q.next() ? q.value(0).toString()
                                                                                    : QStringLiteral("(failed)");
    };
    auto hostSets = [&](const QString& value) {
        run(pg ? QStringLiteral("sql set lock_timeout = '%1'").arg(value)
               : QStringLiteral("sql pragma busy_timeout = %1").arg(value));
    };
    QStringList during;
    control().conn().setFaultHook([&](const TraceEntry&) {
        if (!during.contains(setting()))
            during << setting();
    });

    const std::vector<std::pair<QString, QString>> cases =
        pg ? std::vector<std::pair<QString, QString>>{{"0", "5s"}, {"1min", "5s"}, {"250ms", "250ms"}}
           : std::vector<std::pair<QString, QString>>{{"10000", "5000"}, {"300", "300"}};
    for (const auto& [host, bound] : cases) {
        hostSets(host);
        during.clear();
        runAll({"pick cmbBj 0", "rclick 班级 1 1", "dragcell 班级 1 1 班级 1 3", "undo"});
        EXPECT_TRUE(control().messages().take().empty());
        EXPECT_EQ(during, QStringList{bound}) << host.toStdString();
        EXPECT_EQ(setting(), host);
    }
    if (pg) {
        hostSets("0");
        runAll({"sql begin", "rclick 班级 1 1", "dragcell 班级 1 1 班级 1 3"});
        EXPECT_EQ(setting(), "0");
        run("sql commit");
        EXPECT_EQ(setting(), "0");
        run("undo");
    }
    control().conn().setFaultHook({});

    // Another program holds the whole table: the choice fails after the
    // bound with the reason, and the host's setting is back.
    hostSets(pg ? "0" : "10000");
    QSqlQuery hold(db->openSecond());
    ASSERT_TRUE(hold.exec(pg ? "begin" : "begin exclusive"));
    ASSERT_TRUE(!pg || hold.exec("lock table kcb in access exclusive mode"));
    const QJsonObject out = driver->run("pick cmbBj 1");
    QString said = out.value("error").toString();
    for (const auto& box : control().messages().take())
        said += box.text;
    EXPECT_TRUE(said.startsWith(QString::fromUtf8(kTimetableBusy) + QStringLiteral("（"))) << said.toStdString();
    ASSERT_TRUE(hold.exec("rollback"));
    EXPECT_EQ(setting(), pg ? "0" : "10000");
    EXPECT_EQ(kcb(), initial);
}

KBTZ_ON_EVERY_ENGINE(TwoDesksTest);

} // namespace

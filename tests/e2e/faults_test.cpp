// The database misbehaving under a working control: the connection lost, the
// server stopped, the file locked by another writer, a table or column
// missing, a statement rejected half-way through an exchange. Every user
// action then ends in the failure path or in an error that reaches the host,
// the host window is usable again, and the database never holds half a drop.
#include "adjust_fixture.h"

#include "adjust/write_check.h"
#include "store/open_database.h"
#include "test_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

class FaultsTest : public AdjustTest {
protected:
    void SetUp() override
    {
        AdjustTest::SetUp();
        initial = kcb();
    }

    bool onPostgres() const { return GetParam() == TestEngine::PostgreSQL; }

    // Runs a user action that the fault makes fail. It may end in message
    // boxes of the failure path or in an error for the host (handlers that
    // catch nothing); either way the host window is usable afterwards.
    // Returns the texts seen.
    QStringList failing(const QString& line, Driver* at = nullptr)
    {
        Driver& desk = at ? *at : *driver;
        desk.control().messages().take();
        const QJsonObject out = desk.run(withRows(line, desk));
        QStringList seen;
        for (const auto& box : desk.control().messages().take()) {
            EXPECT_EQ(box.title, QStringLiteral("警告")) << qPrintable(line);
            EXPECT_EQ(box.style, 64);
            EXPECT_FALSE(box.text.isEmpty());
            seen << box.text;
        }
        if (!out.value("ok").toBool())
            seen << out.value("error").toString();
        EXPECT_FALSE(seen.isEmpty()) << qPrintable(line) << " failed without a word";
        expectHostUsable(desk, line);
        return seen;
    }

    // Every kind of user action, with the class grid analysed on L1 first
    // where the action needs it. The caller has broken the database.
    QStringList everyActionFails()
    {
        QStringList seen = failing("dragcell 班级 1 3 班级 5 5");
        // The failed move kept the analysis, so the removal has its lesson.
        EXPECT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
        seen << failing("delete 班级");
        failing("rclick 班级 1 3");
        failing("dragitem lstBj {P5} 班级 7 8");
        failing("pick cmbBj 1");
        failing("pick cmbJb 0");
        failing("jm BL");
        freshStartFails();
        return seen;
    }

    // kcb as another connection sees it (the control's may be gone).
    QStringList kcbElsewhere(TestDatabase& on)
    {
        QSqlQuery q(on.openSecond());
        EXPECT_TRUE(q.exec("select id||'|'||jxjh_id||'|'||星期||'|'||课节 from kcb order by id"));
        QStringList rows;
        while (q.next())
            rows << q.value(0).toString();
        return rows;
    }

    // A host starting another control on the same connection gets the error.
    void freshStartFails()
    {
        Driver fresh(control().conn().database());
        const QJsonObject out = fresh.run("ini 2005-2006 2 课表 1");
        EXPECT_FALSE(out.value("ok").toBool());
        EXPECT_FALSE(out.value("error").toString().isEmpty());
        EXPECT_TRUE(fresh.control().messages().take().empty());
    }

    // Analyses L1 and selects plan item P5, so that moves, drops and the
    // removal each have their work ready.
    void prepare()
    {
        runAll({"pick cmbBj 0", "rclick 班级 1 3"});
        ASSERT_EQ(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    }

    // The backend of the control's connection, ended from another connection.
    void terminateControlBackend()
    {
        QSqlQuery own(control().conn().database());
        ASSERT_TRUE(own.exec("select pg_backend_pid()") && own.next());
        const int pid = own.value(0).toInt();
        QSqlQuery other(db->openSecond());
        // Waits until the backend is gone, so the next statement surely meets a dead connection.
        ASSERT_TRUE(other.exec(QStringLiteral("select pg_terminate_backend(%1, 10000)").arg(pid)))
            << other.lastError().text().toStdString();
    }

    QStringList initial;
};

// The server ends the control's session: the action that meets it fails,
// saying so, and writes nothing; the desk's next action opens the
// connection again and works.
TEST_P(FaultsTest, ConnectionTerminatedInTheMiddleOfASession)
{
    if (!onPostgres())
        GTEST_SKIP() << "a server connection only";
    prepare();
    terminateControlBackend();

    const QStringList seen = failing("dragcell 班级 1 3 班级 5 5");
    EXPECT_TRUE(seen.join(' ').startsWith(QStringLiteral("与数据库服务器的连接已断开")))
        << seen.join(' ').toStdString();
    EXPECT_EQ(kcbElsewhere(*db), initial);
    EXPECT_TRUE(driver->run("rclick 班级 1 3").value("reconnected").toBool());
    run("dragcell 班级 1 3 班级 5 5");
    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_TRUE(kcbElsewhere(*db).contains("L1|P1|5|5"));
}

TEST_P(FaultsTest, ConnectionTerminatedBetweenTheTwoUpdatesOfAnExchangeLeavesNoHalf)
{
    if (!onPostgres())
        GTEST_SKIP() << "a server connection only";
    runAll({"pick cmbBj 0", "rclick 班级 1 1"});
    int executes = 0;
    control().conn().setFaultHook([&](const TraceEntry& e) {
        if (e.op == TraceEntry::Op::Execute && ++executes == 2)
            terminateControlBackend();
    });

    const QStringList seen = failing("dragcell 班级 1 1 班级 1 3");
    EXPECT_EQ(seen.size(), 1);
    EXPECT_EQ(executes, 2);
    EXPECT_EQ(kcbElsewhere(*db), initial);
}

// A SQLite file that another program keeps locked (BEGIN EXCLUSIVE): reads
// and writes wait the connection's busy timeout, then fail with SQLite's
// "database is locked"; once the lock is gone the control works again.
TEST_P(FaultsTest, SqliteFileLockedByAnotherWriter)
{
    if (onPostgres())
        GTEST_SKIP() << "a file lock only";
    run("sql pragma busy_timeout = 100");
    prepare();
    QSqlDatabase other = db->openSecond();
    QSqlQuery lock(other);
    ASSERT_TRUE(lock.exec("begin exclusive")) << lock.lastError().text().toStdString();

    EXPECT_TRUE(everyActionFails().join(' ').contains("locked"));
    // The failed choice names 2班 over an empty grid and plan list, not 1班's.
    failing("pick cmbBj 1");
    EXPECT_EQ(surface().cmbBj.ListIndex(), 1);
    for (int d = 1; d <= 7; ++d)
        for (int k = 1; k <= 8; ++k)
            EXPECT_EQ(cell(C, d, k).Tag, "") << d << ":" << k;
    EXPECT_TRUE(surface().lstBj.ListItems.empty());

    ASSERT_TRUE(lock.exec("rollback"));
    EXPECT_EQ(kcb(), initial);
    runAll({"pick cmbBj 0", "rclick 班级 1 3", "dragcell 班级 1 3 班级 5 5"});
    EXPECT_TRUE(control().messages().take().empty());
    EXPECT_TRUE(kcb().contains("L1|P1|5|5"));
}

TEST_P(FaultsTest, MissingSettingsTableEndsTheAnalysisInItsFailurePath)
{
    run("pick cmbBj 0");
    db->exec("drop table sz_bj");
    failing("rclick 班级 1 3");
    EXPECT_NE(cell(C, 1, 3).BackColor, color::AnalysedLesson);
    // Nothing is marked, so nothing is moved or removed.
    runAll({"dragcell 班级 1 3 班级 5 5", "delete 班级"});
    EXPECT_EQ(kcb(), initial);
}

TEST_P(FaultsTest, MissingColumnFailsTheStatementsThatNameIt)
{
    prepare();
    db->exec("alter table kcb rename column 课节 to 节次");
    failing("dragcell 班级 1 3 班级 5 5");
    // The removal checks where its lesson stands, which needs the period too.
    failing("delete 班级");
    failing("pick cmbBj 1");
    failing("item lstBj {P5}");
    db->exec("alter table kcb rename column 节次 to 课节");
    EXPECT_EQ(kcb(), initial);
}

TEST_P(FaultsTest, MissingTableFailsStartUpAndTheSelectors)
{
    run("pick cmbBj 0");
    db->exec("drop table info_bj");
    freshStartFails();
    failing("pick cmbJb 0");
    failing("rclick 班级 1 3"); // the analysis runs; following the lesson into the selector fails
    EXPECT_EQ(kcb(), initial);
}

// The database itself rejects a write (a trigger stands for any constraint
// of the host's): the second update of an exchange, after which the first is
// undone too, or a removal. The box gives the reason; the table stays, and
// the analysed cell still shows its lesson, ready to go again.
TEST_P(FaultsTest, AWriteTheDatabaseRejectsIsShownAndChangesNothing)
{
    const struct {
        const char *op, *when, *reason, *action;
        int weekday, period;
        const char* lesson;
        int writes;
    } cases[] = {
        {"update", "new.id = 'L3'", "不许移动 L3", "dragcell 班级 1 1 班级 1 3", 1, 1, "L3", 2},
        {"delete", "1 = 1", "课表已锁定", "delete 班级", 1, 3, "L1", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.op);
        afresh();
        if (onPostgres())
            db->execAll({QStringLiteral("create function refuse() returns trigger language plpgsql as $$ begin if %1 "
                                        "then raise exception '%2'; end if; return new; end $$")
                             .arg(c.when, c.reason),
                         QStringLiteral("create trigger refuse before %1 on kcb for each row execute function refuse()")
                             .arg(c.op)});
        else
            db->exec(
                QStringLiteral("create trigger refuse before %1 on kcb when %2 begin select raise(abort, '%3'); end")
                    .arg(c.op, c.when, c.reason));
        runAll({"pick cmbBj 0", QStringLiteral("rclick 班级 %1 %2").arg(c.weekday).arg(c.period)});
        control().conn().setTraceEnabled(true);
        control().conn().takeTrace();

        const QStringList seen = failing(c.action);
        EXPECT_TRUE(seen.join(' ').contains(c.reason)) << seen.join(' ').toStdString();
        EXPECT_EQ(writes().size(), c.writes);
        EXPECT_EQ(kcb(), initial);
        EXPECT_EQ(db->scalar("select count(*) from kcb_log").toInt(), 0);
        for (const Side side : {C, T})
            EXPECT_TRUE(cell(side, c.weekday, c.period).Tag.startsWith(QString(c.lesson) + "\t"));
        EXPECT_EQ(cell(C, c.weekday, c.period).BackColor, color::AnalysedLesson);
    }
}

// A host table without a key on kcb.id, holding a second L1, and an L6
// where the removed L6 would come back: a write by id would touch both rows,
// so every such edit (a move, a removal, the undo of a removal) is refused
// naming the id and writes nothing, and the check names the pair.
TEST_P(FaultsTest, TwoLessonsWithOneIdAreNeverWrittenAndTheCheckNamesThem)
{
    if (onPostgres())
        db->exec("alter table kcb drop constraint kcb_pkey");
    else
        db->execAll({"create table kcb_keyless as select * from kcb", "drop table kcb",
                     "alter table kcb_keyless rename to kcb"});
    runAll({"pick cmbBj 0", "rclick 班级 4 4", "delete 班级"});
    db->execAll({"insert into kcb values ('L1','P1',6,1)", "insert into kcb values ('L6','P5',6,2)"});
    const QStringList twins = kcb();

    const struct {
        const char* prepare;
        const char* edit;
        const char* id;
    } edits[] = {{nullptr, "undo", "L6"},
                 {"rclick 班级 1 3", "dragcell 班级 1 3 班级 5 5", "L1"},
                 {"rclick 班级 1 3", "delete 班级", "L1"}};
    for (const auto& e : edits) {
        if (e.prepare)
            run(e.prepare);
        EXPECT_EQ(failing(e.edit), QStringList{duplicateIdMessage(e.id)}) << e.edit;
        EXPECT_EQ(kcb(), twins) << e.edit;
    }

    const QJsonObject report = driver->run("conflicts").value("conflicts").toObject();
    EXPECT_EQ(report.value("counts").toObject().value("duplicateId").toInt(), 1);
    QStringList named;
    for (const QJsonValue p : report.value("problems").toArray())
        if (p.toObject().value("kind").toString() == "duplicateId")
            for (const QJsonValue l : p.toObject().value("lessons").toArray())
                named << l.toObject().value("id").toString();
    EXPECT_EQ(named, (QStringList{"L1", "L1"}));
}

// The server really stops while the control is in use, and comes back. Runs
// on a throw-away cluster of its own, so that the shared one stays up.
TEST_P(FaultsTest, ServerStoppedAndStartedAgain)
{
    if (!onPostgres())
        GTEST_SKIP() << "a server only";
    const QString script = QStringLiteral(KBTZ_DATA_DIR "/../scripts/pg-cluster.sh");
    if (!QFile::exists(QStringLiteral("/usr/lib/postgresql/15/bin/pg_ctl")) || !QFile::exists(script))
        GTEST_SKIP() << "PostgreSQL 15 binaries or the cluster script are missing";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther | QFile::ReadOther);
    const QString clusterDir = dir.path() + QStringLiteral("/cluster");
    // The script prints the connection string on its output, and why it failed on its errors.
    QString lastError;
    auto cluster = [&](const QStringList& args, QString* printed = nullptr) {
        QProcess p;
        p.start(QStringLiteral("bash"), QStringList{script} + args);
        const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (printed)
            *printed = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        lastError += QString::fromUtf8(p.readAllStandardError());
        return ok;
    };
    // Below the kernel's range of ephemeral ports, so that no client socket of
    // the suite's own connections holds the port; another port when one is taken.
    int port = 0;
    QString conninfo;
    for (int attempt = 0; attempt < 5 && conninfo.isEmpty(); ++attempt) {
        port = 30000 + static_cast<int>((QCoreApplication::applicationPid() + 211 * attempt) % 2000);
        cluster({"start", clusterDir, QString::number(port)}, &conninfo);
    }
    ASSERT_FALSE(conninfo.isEmpty()) << lastError.toStdString();
    const auto stopAtEnd = qScopeGuard([&] { EXPECT_TRUE(cluster({"stop", clusterDir})) << lastError.toStdString(); });

    // The small school on the own server, in a schema of its own.
    const auto restoreAtEnd =
        qScopeGuard([shared = postgresConninfo()] { qputenv("KBTZ_PG_CONNINFO", shared.toUtf8()); });
    qputenv("KBTZ_PG_CONNINFO", conninfo.toUtf8());
    auto server = std::make_unique<PgTempDb>();
    insertSmallSchool(*server);

    // The desk's connection names its schema in its parameters, so that
    // opening it again finds the same tables, as a host's would.
    // Removed once the desk and this handle have let go of it.
    const auto removeAtEnd = qScopeGuard([] { QSqlDatabase::removeDatabase(QStringLiteral("reconnecting-desk")); });
    QSqlDatabase deskDb = postgresDatabase(server->driveArguments().value(1), QStringLiteral("reconnecting-desk"));
    ASSERT_TRUE(deskDb.open()) << deskDb.lastError().text().toStdString();
    auto desk = std::make_unique<Driver>(deskDb);
    runAll(
        {"ini 2005-2006 2 课表 1", "pick cmbBj 0", "rclick 班级 1 3", "dragcell 班级 1 3 班级 5 5", "rclick 班级 5 5"},
        desk.get());
    EXPECT_TRUE(desk->control().messages().take().empty());
    const QStringList moved = kcbElsewhere(*server);

    // While the server is away every action fails at once, saying so in words.
    EXPECT_TRUE(cluster({"stop", clusterDir})) << lastError.toStdString();
    for (const QString line : {"dragcell 班级 5 5 班级 6 6", "delete 班级", "rclick 班级 1 1", "pick cmbBj 1",
                               "pick cmbJb 0", "undo", "history 3", "conflicts"})
        EXPECT_TRUE(failing(line, desk.get()).join(' ').contains(QStringLiteral("与数据库服务器的连接已断开")))
            << qPrintable(line);
    EXPECT_TRUE(desk->control().ConnectionLost());

    // Back: the next action reopens the connection and works, the undo
    // history survived, and live refresh listens again.
    EXPECT_TRUE(cluster({"start", clusterDir, QString::number(port)})) << lastError.toStdString();
    EXPECT_EQ(kcbElsewhere(*server), moved);
    EXPECT_TRUE(desk->run("undo").value("reconnected").toBool());
    EXPECT_EQ(kcbElsewhere(*server), initial);
    EXPECT_FALSE(desk->control().ConnectionLost());
    runAll({"pick cmbBj 0", "rclick 班级 1 3", "history 3", "conflicts"}, desk.get());
    EXPECT_TRUE(desk->control().messages().take().empty());
    QSqlQuery other(server->openSecond());
    ASSERT_TRUE(other.exec("update kcb set 课节=2 where id='L6'"));
    EXPECT_EQ(desk->run("wait 3000").value("refreshed").toArray().first().toString(), QStringLiteral("班级"));
    EXPECT_TRUE(desk->control().cell(Side::Class, 4, 1).Tag.startsWith("L6\t"));
    desk.reset();
}

KBTZ_ON_EVERY_ENGINE(FaultsTest);

} // namespace

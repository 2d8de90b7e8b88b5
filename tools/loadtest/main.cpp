// kbtz-loadtest: several desks (kbtz-drive processes) adjusting one timetable
// at once, faster than people do; prints how fast each interaction was, how
// long a change took to appear on another desk, and whether the timetable
// stayed intact. scripts/loadtest.sh sets up the database and runs it.
//
//   kbtz-loadtest (--pg CONNINFO | --db FILE) [--desks N] [--seconds S]
//                 [--rate ACTIONS_PER_SECOND] [--switch SECONDS] [--seed S]
//                 [--live 0|1] [--drive PATH]
//                 [--restart-at S --stop-cmd CMD --start-cmd CMD [--down S]]
//
// --live 0 switches live refresh off at every desk: what it costs the other
// interactions, by comparison (no change is then seen on another desk).

#include "integrity.h"
#include "load_run.h"
#include "proc_cpu.h"
#include "store/open_database.h"
#include "stats.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: kbtz-loadtest (--pg CONNINFO | --db FILE) [--desks N] [--seconds S] [--rate R]\n"
                         "                     [--switch SECONDS] [--seed S] [--live 0|1] [--drive PATH]\n"
                         "                     [--restart-at S --stop-cmd CMD --start-cmd CMD [--down S]]\n");
    return 2;
}

// Busy and total jiffies of the whole machine (Linux), for the load it carried.
std::pair<double, double> machineJiffies()
{
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return {0, 0};
    const QList<QByteArray> f = stat.readLine().simplified().split(' ');
    double total = 0, idle = 0;
    for (qsizetype i = 1; i < f.size(); ++i) {
        total += f[i].toDouble();
        if (i == 4 || i == 5) // idle, iowait
            idle += f[i].toDouble();
    }
    return {total - idle, total};
}

int count(QSqlDatabase db, const char* table)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))) && q.next() ? q.value(0).toInt()
                                                                                                   : -1;
}

const char* verdict(bool met) { return met ? "met" : "MISSED"; }

// PostgreSQL: the server process of the cluster, whose ended children are
// the desks' backends; 0 elsewhere.
qint64 postmasterOf(QSqlDatabase db)
{
    QSqlQuery q(db);
    if (db.driverName() != QLatin1String("QPSQL") || !q.exec(QStringLiteral("select pg_backend_pid()")) || !q.next())
        return 0;
    return parentProcess(q.value(0).toLongLong());
}

double ownCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();

    LoadOptions options;
    options.drive = QCoreApplication::applicationDirPath() + QStringLiteral("/kbtz-drive");
    QString pg, file;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size())
            return usage();
        const QString v = args[++i];
        bool ok = true;
        if (a == QLatin1String("--pg"))
            pg = v;
        else if (a == QLatin1String("--db"))
            file = v;
        else if (a == QLatin1String("--desks"))
            options.desks = v.toInt(&ok);
        else if (a == QLatin1String("--seconds"))
            options.seconds = v.toDouble(&ok);
        else if (a == QLatin1String("--rate"))
            options.actionsPerSecond = v.toDouble(&ok);
        else if (a == QLatin1String("--switch"))
            options.switchSeconds = v.toDouble(&ok);
        else if (a == QLatin1String("--seed"))
            options.seed = v.toULongLong(&ok);
        else if (a == QLatin1String("--drive"))
            options.drive = v;
        else if (a == QLatin1String("--live"))
            options.liveRefresh = v.toInt(&ok) != 0;
        else if (a == QLatin1String("--restart-at"))
            options.restartAt = v.toDouble(&ok);
        else if (a == QLatin1String("--down"))
            options.downSeconds = v.toDouble(&ok);
        else if (a == QLatin1String("--stop-cmd"))
            options.stopCommand = v;
        else if (a == QLatin1String("--start-cmd"))
            options.startCommand = v;
        else
            return usage();
        if (!ok)
            return usage();
    }
    if (pg.isEmpty() == file.isEmpty() || options.desks < 1 || options.seconds <= 0 || options.actionsPerSecond <= 0)
        return usage();
    options.database =
        pg.isEmpty() ? QStringList{QStringLiteral("--db"), file} : QStringList{QStringLiteral("--pg"), pg};

    QSqlDatabase db = pg.isEmpty() ? sqliteDatabase(file, QStringLiteral("loadtest"))
                                   : postgresDatabase(pg, QStringLiteral("loadtest"));
    if (!db.open()) {
        std::fprintf(stderr, "kbtz-loadtest: cannot open the database: %s\n", qPrintable(db.lastError().text()));
        return 1;
    }
    options.classes = count(db, "info_bj");
    Integrity integrity;
    if (const QString error = integrity.readBefore(db); !error.isEmpty()) {
        std::fprintf(stderr, "kbtz-loadtest: %s\n", qPrintable(error));
        return 1;
    }

    std::printf("kbtz-loadtest: %d desks on %s; %d classes, %d teachers, %d lessons; %.0f s, %.1f actions/s per desk\n",
                options.desks, pg.isEmpty() ? "SQLite (one file)" : "PostgreSQL", options.classes, count(db, "info_js"),
                count(db, "kcb"), options.seconds, options.actionsPerSecond);
    std::fflush(stdout);

    const qint64 server = postmasterOf(db);
    const double serverCpu0 = server ? processCpuSeconds(server, true) : 0;
    const auto [busy0, total0] = machineJiffies();
    LoadRun run(options);
    const LoadResults r = run.run();
    const auto [busy1, total1] = machineJiffies();
    QThread::msleep(500);        // the server waits for the desks' backends that have ended
    if (options.restartAt > 0) { // this program's own connection did not survive the restart
        db.close();
        db.open();
    }
    const double serverCpu = server ? processCpuSeconds(server, true) - serverCpu0 : 0;
    const Integrity::Report report = integrity.check(db);

    int actions = 0;
    for (const auto& [kind, ms] : r.interactions)
        actions += static_cast<int>(ms.size());
    std::printf("\n%d actions (%.1f/s), %d edits committed (%.1f/s, rows of kcb_log), %d refused because another desk "
                "had changed the lessons, %d other message boxes, %d commands failed\n",
                actions, actions / r.elapsedSeconds, report.logRows, report.logRows / r.elapsedSeconds, r.refused,
                r.failed, r.errors);
    // At the desk: from the command's arrival to its answer, what a user of
    // the control waits for. Round trip: as this program saw it, with the
    // pipes and whatever else it and the machine were busy with meanwhile.
    std::printf("\n%-18s %7s %9s %9s %9s   %s\n", "interaction", "n", "median", "p99", "max",
                "round trip median / p99");
    double worstP99 = 0;
    for (const auto& [kind, ms] : r.interactions) {
        const Stats s = statsOf(ms);
        const Stats trip = statsOf(r.roundTrips.at(kind));
        const double max = ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end());
        worstP99 = std::max(worstP99, s.p99);
        std::printf("%-18s %7zu %7.1f ms %6.1f ms %6.1f ms   %6.1f / %.1f ms\n", qPrintable(kind), s.n, s.median, s.p99,
                    max, trip.median, trip.p99);
    }
    const Stats seen = statsOf(r.seen);
    std::printf("\nchange shown on the other desk of its class: n=%zu, median %.0f ms, p99 %.0f ms "
                "(changed again or left before it was shown: %d; not shown within %d ms: %d; awaited at the end: %d)\n",
                seen.n, seen.median, seen.p99, r.superseded, LoadRun::kSeenTimeoutMs, r.missed, r.unresolved);

    double loadavg[3] = {0, 0, 0};
    if (QFile f(QStringLiteral("/proc/loadavg")); f.open(QIODevice::ReadOnly))
        std::sscanf(f.readAll().constData(), "%lf %lf %lf", &loadavg[0], &loadavg[1], &loadavg[2]);
    const double machineBusy = total1 > total0 ? (busy1 - busy0) / (total1 - total0) : 0;
    std::printf("load: machine %.0f%% busy over %d CPUs during the run (everything on it), load average %.2f; in "
                "%.0f s the drivers used %.1f CPU s, the database server %.1f, this program %.1f\n",
                100 * machineBusy, static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN)), loadavg[0], r.elapsedSeconds,
                r.driverCpuSeconds, serverCpu, ownCpuSeconds());
    for (const QString& e : r.errorTexts)
        std::printf("  command failed: %s\n", qPrintable(e));
    bool allBack = true;
    if (options.restartAt > 0) {
        std::printf("\nrestart: server stopped for %.0f s; each desk reconnected after the server was back (ms):",
                    options.downSeconds);
        for (size_t i = 0; i < r.backAfter.size(); ++i) {
            std::printf("%s desk%02zu %s", i % 5 == 0 ? "\n " : "", i,
                        r.backAfter[i] < 0 ? "never" : qPrintable(QString::number(r.backAfter[i], 'f', 0)));
            allBack = allBack && r.backAfter[i] >= 0;
        }
        std::printf("\n  commands failed after their desk was back: %d\n", r.errorsAfterBack);
    }

    std::printf("\nintegrity: %d new double bookings, %d plan items over their hours, %s; %d driver crashes\n",
                report.newDoubleBookings, report.plansOverHours,
                report.replayed ? qPrintable(QStringLiteral("%1 of %2 kcb_log rows inconsistent with kcb")
                                                 .arg(report.inconsistentRows)
                                                 .arg(report.logRows))
                                : "no kcb_log to replay",
                static_cast<int>(r.deaths.size()));
    for (const QString& d : report.details + r.deaths)
        std::printf("  %s\n", qPrintable(d));

    const double seenTarget = pg.isEmpty() ? 1000 : 500;
    std::printf("\ntargets: every interaction p99 <= 50 ms: %s (worst %.1f ms); change shown within %.0f ms (p99): %s; "
                "0 integrity violations: %s; 0 driver crashes: %s\n",
                verdict(worstP99 <= 50), worstP99, seenTarget, verdict(seen.n > 0 && seen.p99 <= seenTarget),
                verdict(report.violations() == 0), verdict(r.deaths.isEmpty()));
    if (options.restartAt > 0)
        std::printf("every desk back after the restart: %s\n", verdict(allBack && r.errorsAfterBack == 0));
    const bool intact = report.violations() == 0 && r.deaths.isEmpty() && allBack;
    db.close();
    return intact ? 0 : 1;
}

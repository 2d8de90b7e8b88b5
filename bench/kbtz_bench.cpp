// kbtz-bench: how long each user interaction of the control takes on
// synthetic schools, and beside it the floor: the same statements sent
// straight to the database layer with no control logic, in the same
// iteration, so that a busy machine slows both alike.
//
//   kbtz-bench [google benchmark flags]
//
// Environment:
//   KBTZ_BENCH_SIZES    schools to run, default "small,large,huge"
//   KBTZ_BENCH_SECONDS  time to spend on one interaction, default 2
//   KBTZ_PG_CONNINFO    also run on this PostgreSQL server (scripts/pg-cluster.sh)
//   KBTZ_BENCH_STATEMENTS  list the statements of each interaction (its floor)
//   KBTZ_BENCH_QUIET    progress on stderr instead of Google Benchmark's report
//   KBTZ_SQLITE_EQUIVALENTS=0  only the control's texts on SQLite; =1 only
//                       the equivalents; unset: both
//   KBTZ_PG_EQUIVALENTS=0|1  the same on PostgreSQL
//
// Engines: SQLite (the equivalents on, on a file written and opened as the
// demo's: a write-ahead log, synchronous=normal on the host's connection),
// SQLite-plain (the control's texts as they are), SQLite-busy-disk (SQLite
// while another process writes to the same disk without pause: dd with
// oflag=dsync, started by the benchmark), SQLite-rollback (the rollback
// journal the schema alone gives: every commit waits for the disk twice);
// when a server is named, PostgreSQL (the equivalents as prepared
// statements) and PostgreSQL-plain (the control's texts).
//
// Animations take no time (the control's pause does nothing). After the
// benchmarks a table gives, per engine, school and interaction, the median
// and 99th percentile of the interaction and of its floor and their ratio.

#include "postgres_school.h"
#include "scenario.h"
#include "stats.h"

#include "gen/synthetic_school.h"
#include "gen/writer.h"
#include "store/control_error.h"
#include "store/open_database.h"

#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>

#ifdef KBTZ_BENCH_RENDER
#include "render.h"
#include <QApplication>
#else
#include <QCoreApplication>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct SchoolSize {
    QString name;
    int classes;
    int teachers;
};

// About 2.5 teachers per class, 8 periods on 5 days, nearly every plan
// hour placed.
const SchoolSize kSizes[] = {{"small", 12, 30}, {"large", 120, 300}, {"huge", 400, 1000}};

struct BenchEngine {
    QString name; // as the table shows it
    bool postgres;
    bool equivalents;
    int dataType;          // the dialect the control is started with
    bool rollback = false; // SQLite: the rollback journal instead of the demo's write-ahead log
    bool busyDisk = false; // another process writes to the disk meanwhile
};

struct Result {
    QString engine, school, interaction;
    Stats control, floor;
    bool hasFloor = true;
};

std::vector<Result>& results()
{
    static std::vector<Result> all;
    return all;
}

QStringList sizesWanted()
{
    const QString env = qEnvironmentVariable("KBTZ_BENCH_SIZES");
    return env.isEmpty() ? QStringList{"small", "large", "huge"} : env.split(u',', Qt::SkipEmptyParts);
}

double secondsPerInteraction()
{
    bool ok = false;
    const double s = qEnvironmentVariable("KBTZ_BENCH_SECONDS").toDouble(&ok);
    return ok && s > 0 ? s : 2.0;
}

[[noreturn]] void die(const QString& message)
{
    std::fprintf(stderr, "kbtz-bench: %s\n", qPrintable(message));
    std::exit(1);
}

// ---------------------------------------------------------------------------
// The schools, each written once per engine.

// Written as kbtz-gen writes the demo's file (a write-ahead log) and opened
// as the test host opens it; with `rollback`, the journal the schema alone
// gives, where every commit waits for the disk twice.
QSqlDatabase sqliteSchool(const QString& dir, const QString& size, const gen::School& school, bool rollback)
{
    const QString name = size + (rollback ? QStringLiteral("-rollback") : QString());
    const QString path = dir + u'/' + name + QStringLiteral(".db");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("write-") + name);
        db.setDatabaseName(path);
        if (!db.open())
            die(QStringLiteral("cannot create %1: %2").arg(path, db.lastError().text()));
        if (QString e = rollback ? QString() : gen::useWriteAheadLog(db); !e.isEmpty())
            die(e);
        if (QString e = gen::createSchema(db); !e.isEmpty())
            die(e);
        if (QString e = gen::writeSchool(db, school); !e.isEmpty())
            die(e);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("write-") + name);
    QSqlDatabase db = sqliteDatabase(path, QStringLiteral("sqlite-") + name);
    if (!db.open())
        die(QStringLiteral("cannot open %1: %2").arg(path, db.lastError().text()));
    syncWalAtCheckpoints(db);
    return db;
}

// A process that writes to the disk of `dir` without pause, each block
// synced (dd oflag=dsync), while the benchmarks of one engine run.
class DiskWriter {
public:
    void run(bool on, const QString& dir)
    {
        if (on == (writer_.state() != QProcess::NotRunning))
            return;
        if (!on) {
            writer_.kill();
            writer_.waitForFinished();
            return;
        }
        writer_.start(QStringLiteral("sh"),
                      {QStringLiteral("-c"), QStringLiteral("while :; do dd if=/dev/zero of='%1/busy' bs=64k count=256 "
                                                            "oflag=dsync 2>/dev/null; done")
                                                 .arg(dir)});
        if (!writer_.waitForStarted())
            die(QStringLiteral("cannot start the disk writer"));
    }
    ~DiskWriter() { run(false, {}); }

private:
    QProcess writer_;
};

DiskWriter& diskWriter()
{
    static DiskWriter writer;
    return writer;
}

QString& benchDir()
{
    static QString dir;
    return dir;
}

// A schema of its own per school; the connection works in it through its
// search path, as the tests' PostgreSQL databases do.
QSqlDatabase postgresSchool(const QString& conninfo, const QString& size, const gen::School& school)
{
    QSqlDatabase db;
    if (QString e = writePostgresSchool(conninfo, QStringLiteral("pg-") + size, QStringLiteral("kbtz_bench_") + size,
                                        school, db);
        !e.isEmpty())
        die(e);
    return db;
}

// ---------------------------------------------------------------------------
// One benchmark: the interaction and its floor, alternately.

void runInteraction(benchmark::State& state, Scenario* scenario, Interaction* interaction, Result* result)
{
    diskWriter().run(result->engine.endsWith(QLatin1String("busy-disk")), benchDir());
    std::vector<double> control, floor;
    for (auto _ : state) {
        interaction->setup();
        const auto start = Clock::now();
        interaction->run();
        const double ms = msSince(start);
        interaction->undo();

        const auto floorStart = Clock::now();
        scenario->replay(*interaction);
        const double floorMs = msSince(floorStart);
        interaction->undo();

        state.SetIterationTime(ms / 1000.0);
        control.push_back(ms);
        floor.push_back(floorMs);
    }
    result->control = statsOf(control);
    result->floor = statsOf(floor);
    state.counters["median_ms"] = result->control.median;
    state.counters["p99_ms"] = result->control.p99;
    state.counters["floor_ms"] = result->floor.median;
    state.counters["ratio"] = result->floor.median > 0 ? result->control.median / result->floor.median : 0;
}

// Enough repetitions to fill the time allowed, within bounds.
int iterationsFor(Scenario& scenario, Interaction& interaction)
{
    const auto start = Clock::now();
    interaction.setup();
    interaction.run();
    interaction.undo();
    scenario.replay(interaction);
    interaction.undo();
    const double ms = std::max(msSince(start), 0.01);
    return std::clamp(static_cast<int>(secondsPerInteraction() * 1000.0 / ms), 10, 400);
}

QString benchName(const Result& r)
{
    QString name = r.engine + u'/' + r.school + u'/' + r.interaction;
    return name.replace(u' ', u'_');
}

// ---------------------------------------------------------------------------
// The table.

const Result* find(const QString& engine, const QString& school, const QString& interaction)
{
    for (const Result& r : results())
        if (r.engine == engine && r.school == school && r.interaction == interaction)
            return &r;
    return nullptr;
}

void printTable()
{
    std::printf("\n%-18s %-6s %-19s %5s %9s %9s %9s %9s %6s\n", "engine", "school", "interaction", "n", "median", "p99",
                "floor", "floor99", "ratio");
    std::printf("%-18s %-6s %-19s %5s %9s %9s %9s %9s %6s\n", "", "", "", "", "ms", "ms", "ms", "ms", "");
    for (const Result& r : results()) {
        if (r.control.n == 0)
            continue;
        if (r.hasFloor)
            std::printf("%-18s %-6s %-19s %5zu %9.3f %9.3f %9.3f %9.3f %6.2f\n", qPrintable(r.engine),
                        qPrintable(r.school), qPrintable(r.interaction), r.control.n, r.control.median, r.control.p99,
                        r.floor.median, r.floor.p99, r.floor.median > 0 ? r.control.median / r.floor.median : 0.0);
        else
            std::printf("%-18s %-6s %-19s %5zu %9.3f %9.3f %9s %9s %6s\n", qPrintable(r.engine), qPrintable(r.school),
                        qPrintable(r.interaction), r.control.n, r.control.median, r.control.p99, "-", "-", "-");
    }

    // The targets, on each engine with its equivalents and the large school;
    // the shared server has a tighter 99th
    // percentile. Where the floor alone misses a time, the database's own
    // work (for a write on SQLite, the commit's wait for the disk) is what
    // stands in the way, and the line says so.
    for (const QString& engine : {QStringLiteral("SQLite"), QStringLiteral("PostgreSQL")}) {
        const double p99Limit = engine == QLatin1String("PostgreSQL") ? 10.0 : 16.0;
        bool any = false;
        for (const Result& r : results()) {
            if (r.engine != engine || r.school != QLatin1String("large") || r.control.n == 0)
                continue;
            if (!r.hasFloor && r.interaction != QLatin1String("repaint grid"))
                continue;
            if (!any)
                std::printf("\ntargets (%s, large school):\n", qPrintable(engine));
            any = true;
            QStringList missed;
            const bool qxIni = r.interaction == QLatin1String("QxIni");
            const bool render = !r.hasFloor;
            const double medianLimit = qxIni ? 30.0 : render ? 4.0 : 5.0;
            bool floorMisses = false;
            if (r.control.median > medianLimit) {
                missed << QStringLiteral("median > %1 ms").arg(medianLimit);
                floorMisses |= r.hasFloor && r.floor.median > medianLimit;
            }
            if (!qxIni && !render && r.control.p99 > p99Limit) {
                missed << QStringLiteral("p99 > %1 ms").arg(p99Limit);
                floorMisses |= r.floor.p99 > p99Limit;
            }
            if (r.hasFloor && r.floor.median > 0 && r.control.median > 1.3 * r.floor.median)
                missed << QStringLiteral("> 1.3 x floor");
            if (const Result* huge = find(engine, QStringLiteral("huge"), r.interaction);
                huge && huge->control.n && huge->control.median > 4.0 * r.control.median)
                missed << QStringLiteral("huge %1 x large").arg(huge->control.median / r.control.median, 0, 'f', 1);
            QString verdict = missed.isEmpty() ? QStringLiteral("met") : QStringLiteral("MISSED: ") + missed.join(", ");
            if (floorMisses)
                verdict += QStringLiteral(" (so does the floor alone: median %1 ms, p99 %2 ms)")
                               .arg(r.floor.median, 0, 'f', 1)
                               .arg(r.floor.p99, 0, 'f', 1);
            std::printf("  %-19s %s\n", qPrintable(r.interaction), qPrintable(verdict));
        }
    }

    // Every edit on the demo's own database: a median of 1.5 ms on a quiet
    // machine, and of 5 ms while another process writes to the same disk.
    for (const auto& [engine, limit] :
         {std::pair{QStringLiteral("SQLite"), 1.5}, std::pair{QStringLiteral("SQLite-busy-disk"), 5.0}}) {
        for (const char* edit : {"drop new lesson", "move with exchange", "removal"}) {
            const Result* r = find(engine, QStringLiteral("large"), QLatin1String(edit));
            if (!r || r->control.n == 0)
                continue;
            std::printf("edit target (%s, large school, median <= %.1f ms): %-19s %.2f ms %s\n", qPrintable(engine),
                        limit, edit, r->control.median, r->control.median <= limit ? "met" : "MISSED");
        }
    }
}

// Progress only, one line per interaction, when the table is all that is
// wanted; Google Benchmark's report still goes to --benchmark_out.
class ProgressReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            std::fprintf(stderr, "  %s\n", run.benchmark_name().c_str());
    }
};

} // namespace

int main(int argc, char** argv)
{
#ifdef KBTZ_BENCH_RENDER
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);

    std::vector<BenchEngine> engines;
    const QString equivalents = qEnvironmentVariable("KBTZ_SQLITE_EQUIVALENTS");
    if (equivalents != QLatin1String("0"))
        engines.push_back({QStringLiteral("SQLite"), false, true, 1});
    if (equivalents != QLatin1String("1"))
        engines.push_back({QStringLiteral("SQLite-plain"), false, false, 1});
    if (equivalents != QLatin1String("0")) {
        engines.push_back({QStringLiteral("SQLite-busy-disk"), false, true, 1, false, true});
        engines.push_back({QStringLiteral("SQLite-rollback"), false, true, 1, true});
    }
    const QString conninfo = qEnvironmentVariable("KBTZ_PG_CONNINFO");
    const QString pgEquivalents = qEnvironmentVariable("KBTZ_PG_EQUIVALENTS");
    if (!conninfo.isEmpty() && pgEquivalents != QLatin1String("0"))
        engines.push_back({QStringLiteral("PostgreSQL"), true, true, 1});
    if (!conninfo.isEmpty() && pgEquivalents != QLatin1String("1"))
        engines.push_back({QStringLiteral("PostgreSQL-plain"), true, false, 1});

    QTemporaryDir dir;
    if (!dir.isValid())
        die(QStringLiteral("no temporary folder"));
    benchDir() = dir.path();

    // Kept for the whole run: the benchmarks point into them.
    std::map<QString, std::unique_ptr<gen::School>> schools;
    std::vector<std::unique_ptr<Scenario>> scenarios;
    results().reserve(256);

    const QStringList wanted = sizesWanted();
    for (const SchoolSize& size : kSizes) {
        if (!wanted.contains(size.name))
            continue;
        gen::SyntheticOptions options;
        options.classes = size.classes;
        options.teachers = size.teachers;
        options.morning = 4;
        options.afternoon = 4;
        options.fill = 0.97;
        options.seed = 1;
        auto school = std::make_unique<gen::School>(gen::syntheticSchool(options));
        const gen::Summary sum = gen::summarize(*school);
        std::fprintf(stderr, "school %s: %d classes, %d teachers, %d plan items, %d lessons, %d hours left\n",
                     qPrintable(size.name), sum.classes, sum.teachers, sum.planItems, sum.lessons, sum.hoursLeft);

        // One database per engine and journal, written once per school.
        std::map<QString, QSqlDatabase> databases;
        for (const BenchEngine& engine : engines) {
            const QString key = engine.postgres   ? QStringLiteral("pg")
                                : engine.rollback ? QStringLiteral("rollback")
                                                  : QString();
            if (!databases.count(key))
                databases[key] = engine.postgres ? postgresSchool(conninfo, size.name, *school)
                                                 : sqliteSchool(dir.path(), size.name, *school, engine.rollback);
            QSqlDatabase db = databases[key];
            try {
                auto scenario = std::make_unique<Scenario>(db, *school, engine.equivalents, engine.dataType);
                std::fprintf(stderr, "%s/%s: %s\n", qPrintable(engine.name), qPrintable(size.name),
                             qPrintable(scenario->describe()));
                for (Interaction& interaction : scenario->interactions()) {
                    if (qEnvironmentVariableIsSet("KBTZ_BENCH_STATEMENTS"))
                        for (const TraceEntry& e : interaction.statements)
                            std::fprintf(stderr, "  %s: %s\n", qPrintable(interaction.name),
                                         qPrintable(e.text.left(110)));
                    results().push_back({engine.name, size.name, interaction.name, {}, {}});
                    Result* result = &results().back();
                    benchmark::RegisterBenchmark(benchName(*result).toStdString().c_str(), runInteraction,
                                                 scenario.get(), &interaction, result)
                        ->Iterations(iterationsFor(*scenario, interaction))
                        ->UseManualTime()
                        ->Unit(benchmark::kMillisecond);
                }
#ifdef KBTZ_BENCH_RENDER
                if (!engine.postgres && engine.equivalents && !engine.rollback && !engine.busyDisk) {
                    results().push_back({engine.name, size.name, QStringLiteral("repaint grid"), {}, {}, false});
                    Result* paint = &results().back();
                    results().push_back({engine.name, size.name, QStringLiteral("sync widgets"), {}, {}, false});
                    Result* sync = &results().back();
                    registerRenderBenchmarks(benchName(*paint), benchName(*sync), db, *school, engine.dataType,
                                             scenario->classIndex(), scenario->lessonWeekday(), scenario->lessonIndex(),
                                             &paint->control, &sync->control);
                }
#endif
                scenarios.push_back(std::move(scenario));
            } catch (const std::exception& e) {
                die(QStringLiteral("%1/%2: %3").arg(engine.name, size.name, describe(e)));
            }
        }
        schools.emplace(size.name, std::move(school));
    }

    if (qEnvironmentVariableIsSet("KBTZ_BENCH_QUIET")) {
        ProgressReporter progress;
        benchmark::RunSpecifiedBenchmarks(&progress);
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    printTable();
    scenarios.clear();
    return 0;
}

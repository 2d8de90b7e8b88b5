// kbtz-report-bench: the conflict check of a whole timetable and the PDF of
// all its classes, on the large synthetic school (120 classes, 300
// teachers, 8 periods), against their targets (check 50 ms, PDF 5 s).
//
//   kbtz-report-bench [google benchmark flags]
//
// Runs on SQLite; also on PostgreSQL when KBTZ_PG_CONNINFO names a server
// (in a schema of its own, dropped and written afresh). A table of medians
// and 99th percentiles follows Google Benchmark's report.

#include "postgres_school.h"
#include "stats.h"

#include "check/conflict_check.h"
#include "export/timetable_export.h"
#include "gen/synthetic_school.h"
#include "gen/writer.h"
#include "store/connection.h"
#include "store/open_database.h"

#include <QGuiApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void die(const QString& message)
{
    std::fprintf(stderr, "kbtz-report-bench: %s\n", qUtf8Printable(message));
    std::exit(1);
}

struct Measured {
    QString engine, what;
    double targetMs;
    std::vector<double> samples;
};

std::vector<std::unique_ptr<Measured>> results;

QSqlDatabase sqliteSchool(const QString& path, const gen::School& school)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("write"));
        db.setDatabaseName(path);
        if (!db.open() || !gen::createSchema(db).isEmpty() || !gen::writeSchool(db, school).isEmpty())
            die(QStringLiteral("cannot write %1: %2").arg(path, db.lastError().text()));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("write"));
    QSqlDatabase db = sqliteDatabase(path, QStringLiteral("sqlite"));
    if (!db.open())
        die(db.lastError().text());
    return db;
}

QSqlDatabase postgresSchool(const QString& conninfo, const gen::School& school)
{
    QSqlDatabase db;
    if (QString e =
            writePostgresSchool(conninfo, QStringLiteral("pg"), QStringLiteral("kbtz_report_bench"), school, db);
        !e.isEmpty())
        die(e);
    return db;
}

// Registers one measured operation; its result must be what the school holds.
template <typename Operation>
void measure(const QString& engine, const QString& what, double targetMs, Operation operation)
{
    results.push_back(std::make_unique<Measured>(Measured{engine, what, targetMs, {}}));
    Measured* m = results.back().get();
    benchmark::RegisterBenchmark(qUtf8Printable(engine + u'/' + what),
                                 [m, operation](benchmark::State& state) {
                                     for (auto _ : state) {
                                         const auto start = Clock::now();
                                         operation();
                                         m->samples.push_back(
                                             std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                                     }
                                 })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
}

void addEngine(const QString& engine, QSqlDatabase db, const QString& pdf)
{
    auto conn = std::make_shared<Connection>(db);
    const ConflictReport report = checkTimetable(*conn, QStringLiteral("XN01"));
    if (report.conflictCount() != 0)
        die(engine + QStringLiteral(": the synthetic school has conflicts"));
    measure(engine, QStringLiteral("check"), 50,
            [conn] { benchmark::DoNotOptimize(checkTimetable(*conn, QStringLiteral("XN01"))); });
    PageHeading heading{QStringLiteral("2005-2006"), QStringLiteral("2"), QStringLiteral("课表")};
    measure(engine, QStringLiteral("pdf-120-classes"), 5000, [conn, heading, pdf] {
        if (exportTimetable(*conn, QStringLiteral("XN01"), heading, ExportFormat::Pdf, pdf,
                            ExportSelection{true, {}, false, {}}) != 120)
            die(QStringLiteral("the PDF does not have 120 pages"));
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    gen::SyntheticOptions options;
    options.classes = 120;
    options.teachers = 300;
    options.morning = 4;
    options.afternoon = 4;
    const gen::School school = gen::syntheticSchool(options);
    QTemporaryDir dir;
    addEngine(QStringLiteral("SQLite"), sqliteSchool(dir.filePath(QStringLiteral("large.db")), school),
              dir.filePath(QStringLiteral("sqlite.pdf")));
    if (const QString conninfo = qEnvironmentVariable("KBTZ_PG_CONNINFO"); !conninfo.isEmpty())
        addEngine(QStringLiteral("PostgreSQL"), postgresSchool(conninfo, school),
                  dir.filePath(QStringLiteral("pg.pdf")));

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\n%-12s %-16s %6s %10s %10s %10s  %s\n", "engine", "large school", "n", "median ms", "p99 ms",
                "target ms", "");
    for (const auto& m : results) {
        const Stats s = statsOf(m->samples);
        std::printf("%-12s %-16s %6zu %10.2f %10.2f %10.0f  %s\n", qUtf8Printable(m->engine), qUtf8Printable(m->what),
                    s.n, s.median, s.p99, m->targetMs, s.median <= m->targetMs ? "met" : "MISSED");
    }
    return 0;
}

// kbtz-chain-bench: the chain search and the applying of a chain on
// synthetic schools (large: 120 classes, huge: 400), on SQLite with a
// write-ahead log and, with KBTZ_PG_CONNINFO, on PostgreSQL.
//
// For each school a fixed sample of 200 (lesson, target) pairs (seed 20,
// targets anywhere in the teaching week, blocked ones included) is searched
// twice: as the control does it (the timetable read at the first search and
// kept while it is unchanged, then the search), and the search alone on the
// timetable read before. Then a chain of four
// lessons, found among the sample, is applied and undone 30 times; only the
// applying is timed.
//
//   KBTZ_BENCH_SIZES  schools to run, default "large,huge"

#include "postgres_school.h"
#include "stats.h"

#include "adjust/chain_offer.h"
#include "store/day_periods.h"
#include "control/qx_mavowin.h"
#include "gen/synthetic_school.h"
#include "gen/writer.h"
#include "qxmavowin/host_window.h"
#include "store/open_database.h"
#include "store/value_text.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

[[noreturn]] void die(const QString& message)
{
    std::fprintf(stderr, "kbtz-chain-bench: %s\n", qPrintable(message));
    std::exit(1);
}

void print(const char* engine, const char* school, const char* what, const Stats& s)
{
    std::printf("%-11s %-6s %-28s %5zu %9.3f %9.3f\n", engine, school, what, s.n, s.median, s.p99);
}

void run(const char* engine, const char* size, QSqlDatabase db, const gen::School& school)
{
    HostWindow host;
    QX_MavoWin control;
    control.setPause([](double) {});
    control.QxIni(db, QStringLiteral("2005-2006"), QStringLiteral("2"), QStringLiteral("课表"), &host, 1);

    // The sample: lessons of the main timetable, targets in the teaching week.
    std::mt19937 rng(20);
    std::vector<ChainRequest> sample;
    std::vector<const gen::LessonRow*> lessons;
    for (const gen::LessonRow& l : school.lessons)
        lessons.push_back(&l);
    while (sample.size() < 200) {
        const gen::LessonRow& l = *lessons[std::uniform_int_distribution<size_t>(0, lessons.size() - 1)(rng)];
        const Slot to{std::uniform_int_distribution<int>(1, 5)(rng), std::uniform_int_distribution<int>(1, 8)(rng)};
        if (to == Slot{l.weekday, l.period})
            continue;
        ChainRequest r;
        r.lessonId = l.id;
        r.to = to;
        r.side = sample.size() % 2 ? Side::Teacher : Side::Class;
        sample.push_back(r);
    }

    const QString xnId = joinText(control.session().XnId);
    const int rows = control.surface().classGrid.periodRows();
    std::array<int, 7> days{};
    for (int d = 1; d <= 7; ++d)
        days[static_cast<size_t>(d - 1)] = control.dayPeriods().of(xnId, rows, d);

    std::vector<double> whole, searchOnly;
    int found = 0, exchanges = 0, longer = 0;
    const Chain* four = nullptr;
    std::vector<std::vector<Chain>> answers;
    for (const ChainRequest& r : sample) {
        const auto start = Clock::now();
        answers.push_back(FindChains(control.state(), control.chainOffer(), r));
        whole.push_back(msSince(start));
    }
    const auto reading = Clock::now();
    const ChainSchool read = ChainSchool::read(control.conn(), xnId, rows, days);
    print(engine, size, "reading the timetable (once)", statsOf({msSince(reading)}));
    for (const ChainRequest& r : sample) {
        const auto start = Clock::now();
        const std::vector<Chain> chains = findChains(read, r);
        searchOnly.push_back(msSince(start));
    }
    for (const auto& chains : answers) {
        if (chains.empty())
            continue;
        ++found;
        exchanges += chains[0].moves.size() <= 2;
        longer += chains[0].moves.size() > 2;
        if (!four && chains[0].moves.size() == 4)
            four = &chains[0];
    }
    print(engine, size, "search (read + search)", statsOf(whole));
    print(engine, size, "search alone", statsOf(searchOnly));
    std::printf("%-11s %-6s   %d of %zu pairs have a chain: %d of 1-2 lessons, %d of 3-4\n", engine, size, found,
                sample.size(), exchanges, longer);

    if (!four) {
        std::printf("%-11s %-6s   no chain of four lessons in the sample\n", engine, size);
        return;
    }
    const Chain chain = *four;
    std::vector<double> apply;
    for (int i = 0; i < 30; ++i) {
        const auto start = Clock::now();
        const bool applied = ApplyChain(control.state(), control.chainOffer(), chain);
        apply.push_back(msSince(start));
        if (!applied || !control.Undo())
            die(QStringLiteral("applying or undoing the chain failed: %1")
                    .arg(control.messages().take().empty() ? QString() : QStringLiteral("refused")));
    }
    print(engine, size, "apply a chain of 4 lessons", statsOf(apply));
}

QSqlDatabase sqliteWal(const QString& path, const gen::School& school)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("write"));
        db.setDatabaseName(path);
        if (!db.open())
            die(db.lastError().text());
        if (QString e = gen::createSchema(db); !e.isEmpty())
            die(e);
        if (QString e = gen::writeSchool(db, school); !e.isEmpty())
            die(e);
        if (!QSqlQuery(db).exec(QStringLiteral("pragma journal_mode=wal")))
            die(db.lastError().text());
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("write"));
    QSqlDatabase db = sqliteDatabase(path, QStringLiteral("sqlite-") + path);
    if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("pragma synchronous=normal")))
        die(db.lastError().text());
    return db;
}

QSqlDatabase postgres(const QString& conninfo, const QString& size, const gen::School& school)
{
    QSqlDatabase db;
    if (QString e = writePostgresSchool(conninfo, QStringLiteral("pg-") + size,
                                        QStringLiteral("kbtz_chain_bench_") + size, school, db);
        !e.isEmpty())
        die(e);
    return db;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString sizes = qEnvironmentVariable("KBTZ_BENCH_SIZES", QStringLiteral("large,huge"));
    const QString conninfo = qEnvironmentVariable("KBTZ_PG_CONNINFO");
    QTemporaryDir dir;
    std::printf("%-11s %-6s %-28s %5s %9s %9s\n", "engine", "school", "", "n", "median ms", "p99 ms");
    for (const auto& [name, classes, teachers] : {std::tuple{"large", 120, 300}, std::tuple{"huge", 400, 1000}}) {
        if (!sizes.split(u',').contains(QString::fromLatin1(name)))
            continue;
        gen::SyntheticOptions options;
        options.classes = classes;
        options.teachers = teachers;
        const gen::School school = gen::syntheticSchool(options);
        run("SQLite-WAL", name, sqliteWal(dir.filePath(QString::fromLatin1(name) + ".db"), school), school);
        if (!conninfo.isEmpty())
            run("PostgreSQL", name, postgres(conninfo, QString::fromLatin1(name), school), school);
    }
    return 0;
}

// kbtz-gen: writes a school into a timetable database, for the test host,
// the tests and the benchmarks.
//
//   kbtz-gen --sample FILE [--force]
//   kbtz-gen --synthetic FILE --classes N --teachers M --periods P [--seed S]
//            [--days D] [--items K] [--fill F] [--force]
//
// --pg CONNINFO stands for FILE to write into PostgreSQL instead of a new
// SQLite file. --periods takes a count (split into morning and afternoon)
// or a split "M+A+E".

#include "gen/sample_school.h"
#include "gen/synthetic_school.h"
#include "gen/writer.h"
#include "store/conninfo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: kbtz-gen --sample (FILE | --pg CONNINFO) [--force]\n"
                 "       kbtz-gen --synthetic (FILE | --pg CONNINFO) --classes N --teachers M --periods P|M+A+E\n"
                 "                [--seed S] [--days D] [--items K] [--fill F] [--force]\n");
    return 2;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "kbtz-gen: %s\n", qPrintable(message));
    return 1;
}

bool parsePeriods(const QString& text, gen::SyntheticOptions& options)
{
    bool ok = false;
    if (!text.contains(u'+')) {
        const int periods = text.toInt(&ok);
        if (!ok || periods < 1)
            return false;
        options.morning = (periods + 1) / 2;
        options.afternoon = periods - options.morning;
        options.evening = 0;
        return true;
    }
    const QStringList parts = text.split(u'+');
    if (parts.size() != 3)
        return false;
    int values[3] = {};
    for (int i = 0; i < 3; ++i) {
        values[i] = parts[i].toInt(&ok);
        if (!ok || values[i] < 0)
            return false;
    }
    options.morning = values[0];
    options.afternoon = values[1];
    options.evening = values[2];
    return options.morning + options.afternoon + options.evening > 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();

    enum class Mode { None, Sample, Synthetic } mode = Mode::None;
    QString file, conninfo;
    bool force = false;
    bool periodsGiven = false;
    gen::SyntheticOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        const auto intValue = [&](int& target, int least) {
            bool ok = false;
            target = hasValue ? args[++i].toInt(&ok) : 0;
            return ok && target >= least;
        };
        if (a == QLatin1String("--sample") || a == QLatin1String("--synthetic")) {
            if (mode != Mode::None)
                return usage();
            mode = a == QLatin1String("--sample") ? Mode::Sample : Mode::Synthetic;
            if (hasValue && !args[i + 1].startsWith(QLatin1String("--")))
                file = args[++i];
        } else if (a == QLatin1String("--pg") && hasValue) {
            conninfo = args[++i];
        } else if (a == QLatin1String("--force")) {
            force = true;
        } else if (a == QLatin1String("--classes")) {
            if (!intValue(options.classes, 1))
                return usage();
        } else if (a == QLatin1String("--teachers")) {
            if (!intValue(options.teachers, 1))
                return usage();
        } else if (a == QLatin1String("--days")) {
            if (!intValue(options.days, 1) || options.days > 7)
                return usage();
        } else if (a == QLatin1String("--items")) {
            if (!intValue(options.itemsPerClass, 1))
                return usage();
        } else if (a == QLatin1String("--periods") && hasValue) {
            if (!parsePeriods(args[++i], options))
                return usage();
            periodsGiven = true;
        } else if (a == QLatin1String("--seed") && hasValue) {
            bool ok = false;
            options.seed = args[++i].toULongLong(&ok);
            if (!ok)
                return usage();
        } else if (a == QLatin1String("--fill") && hasValue) {
            bool ok = false;
            options.fill = args[++i].toDouble(&ok);
            if (!ok || options.fill < 0 || options.fill > 1)
                return usage();
        } else {
            return usage();
        }
    }
    if (mode == Mode::None || file.isEmpty() == conninfo.isEmpty())
        return usage();
    if (mode == Mode::Synthetic && !periodsGiven)
        return usage();

    QElapsedTimer timer;
    timer.start();
    const gen::School school = mode == Mode::Sample ? gen::sampleSchool() : gen::syntheticSchool(options);

    QString error;
    {
        QSqlDatabase db;
        bool replace = false;
        if (!file.isEmpty()) {
            if (QFileInfo::exists(file)) {
                if (!force)
                    return fail(QStringLiteral("%1 exists; --force replaces it").arg(file));
                if (!QFile::remove(file))
                    return fail(QStringLiteral("cannot remove %1").arg(file));
            }
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("kbtz-gen"));
            db.setDatabaseName(file);
        } else {
            ConnInfo info;
            if (const QString bad = parseConnInfo(conninfo, &info); !bad.isEmpty())
                return fail(QStringLiteral("connection string: ") + bad);
            db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("kbtz-gen"));
            applyConnInfo(info, db);
        }
        if (!db.open())
            return fail(QStringLiteral("cannot open the database: ") + db.lastError().text());
        // The file the test host's demo runs on, so that an edit's commit waits for the disk once at most.
        if (!file.isEmpty())
            error = gen::useWriteAheadLog(db);
        if (error.isEmpty()) {
            switch (gen::schemaState(db)) {
            case gen::SchemaState::Missing: error = gen::createSchema(db); break;
            case gen::SchemaState::Partial:
                error = QStringLiteral("the database holds only some of the timetable tables");
                break;
            case gen::SchemaState::Complete:
                if (gen::timetableCount(db) != 0) {
                    if (!force)
                        error = QStringLiteral("the database already holds timetables; --force replaces them");
                    replace = true;
                }
                break;
            }
        }
        if (error.isEmpty())
            error = gen::writeSchool(db, school, replace);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("kbtz-gen"));
    if (!error.isEmpty())
        return fail(error);

    const gen::Summary s = gen::summarize(school);
    std::printf("kbtz-gen: %d classes, %d teachers, %d plan items, %d lessons (%d hours left) in %.2f s\n", s.classes,
                s.teachers, s.planItems, s.lessons, s.hoursLeft, static_cast<double>(timer.elapsed()) / 1000.0);
    return 0;
}

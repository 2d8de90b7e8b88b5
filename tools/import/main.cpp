// kbtz-import: brings a timetable that FET made into a timetable database.
//
//   kbtz-import --fet FILE.fet (--db FILE | --pg CONNINFO) [--year Y --term T --name N]
//
// Creates the timetable tables when the database has none (a missing SQLite
// file is created, with a write-ahead log), then one timetable with the
// file's classes, teachers, courses, plan items, lessons and forbidden
// periods, and keeps the file itself for kbtz-export --fet. Prints what was
// imported and what was kept aside. Exits 0 when the timetable was written,
// 2 when nothing was (the message names the element of the file at fault).

#include "common/tool_database.h"
#include "fet/fet_file.h"
#include "fet/fet_import.h"
#include "gen/writer.h"
#include "store/open_database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <cstdio>

namespace {

int usage(const QString& problem)
{
    std::fprintf(stderr,
                 "kbtz-import: %s\n"
                 "usage: kbtz-import --fet FILE.fet (--db FILE | --pg CONNINFO) [--year Y --term T --name N]\n",
                 qUtf8Printable(problem));
    return 2;
}

int fail(const QString& problem)
{
    std::fprintf(stderr, "kbtz-import: %s\n", qUtf8Printable(problem));
    return 2;
}

// A new SQLite file with a write-ahead log: each edit of the control then
// commits without waiting for the disk twice (see the README).
QSqlDatabase newSqliteFile(const QString& path, QString* error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("kbtz-import"));
    db.setDatabaseName(path);
    if (!db.open()) {
        *error = QStringLiteral("cannot create %1: %2").arg(path, db.lastError().text());
        return {};
    }
    if (const QString problem = gen::useWriteAheadLog(db); !problem.isEmpty()) {
        *error = QStringLiteral("cannot create %1: %2").arg(path, problem);
        return {};
    }
    return db;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    ToolDatabaseOptions options;
    QString fetPath, error;
    for (qsizetype i = 1; i < args.size();) {
        if (takeDatabaseOption(args, i, options, &error)) {
            if (!error.isEmpty())
                return usage(error);
            continue;
        }
        if (args[i] != QLatin1String("--fet"))
            return usage(QStringLiteral("unknown argument %1").arg(args[i]));
        if (i + 1 >= args.size())
            return usage(QStringLiteral("--fet needs a file"));
        fetPath = args[i + 1];
        i += 2;
    }
    if (fetPath.isEmpty())
        return usage(QStringLiteral("give the FET file: --fet FILE.fet"));
    if (options.file.isEmpty() == options.conninfo.isEmpty())
        return usage(QStringLiteral("give one database: --db FILE or --pg CONNINFO"));

    QElapsedTimer clock;
    clock.start();
    // The whole file is read before the database is touched, so that a file
    // at fault leaves no trace there.
    QFile in(fetPath);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(fetPath, in.errorString()));
    if (in.size() > fet::kMaxFileBytes)
        return fail(QStringLiteral("%1: the file has %2 MB; a FET file here has at most %3 MB")
                        .arg(fetPath)
                        .arg(in.size() / (1024 * 1024))
                        .arg(fet::kMaxFileBytes / (1024 * 1024)));
    QString text;
    fet::FetFile file;
    try {
        text = fet::decodeFetBytes(in.readAll());
        file = fet::readFetText(text);
    } catch (const fet::FetError& e) {
        return fail(fetPath + QStringLiteral(": ") + e.message());
    }

    const bool newFile = !options.file.isEmpty() && !QFileInfo::exists(options.file);
    QSqlDatabase db = newFile ? newSqliteFile(options.file, &error)
                              : openToolDatabase(options, QStringLiteral("kbtz-import"), &error);
    if (!db.isOpen()) {
        if (newFile)
            QFile::remove(options.file);
        return fail(error);
    }
    fet::ImportOptions wanted{options.timetable.schoolYear, options.timetable.term, options.timetable.name,
                              QFileInfo(fetPath).fileName()};
    try {
        const fet::ImportSummary summary = fet::importFet(db, file, text, wanted);
        std::printf("%s: imported in %lld ms\n", qUtf8Printable(fetPath), static_cast<long long>(clock.elapsed()));
        for (const QString& line : summary.lines())
            std::printf("%s\n", qUtf8Printable(line));
        return 0;
    } catch (const fet::FetError& e) {
        db.close();
        if (newFile) {
            for (const char* suffix : {"", "-wal", "-shm"})
                QFile::remove(options.file + QLatin1String(suffix));
        }
        return fail(fetPath + QStringLiteral(": ") + e.message());
    }
}

// kbtz-drive: scripts the timetable-adjustment control headless.
//
//   kbtz-drive --db FILE        a SQLite timetable database
//   kbtz-drive --pg CONNINFO    a PostgreSQL database ("host=... dbname=...")
//
// KBTZ_SQLITE_EQUIVALENTS=0 makes SQLite run the control's statement texts as
// they are (see store/sqlite_equivalents.h); KBTZ_PG_EQUIVALENTS=0 does the
// same on PostgreSQL (no equivalents, no prepared statements).
//
// Commands come on standard input, one per line; each is answered with one
// JSON object on its own line. See the README for the commands.

#include "drive/driver.h"
#include "store/open_database.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSqlError>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: kbtz-drive --db FILE | --pg CONNINFO [--timing] < commands\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool timing = args.removeAll(QStringLiteral("--timing")) > 0;

    QSqlDatabase db;
    if (args.size() == 3 && args[1] == "--db") {
        const QString file = args[2];
        if (!QFileInfo(file).isFile()) {
            std::fprintf(stderr, "kbtz-drive: no database file %s\n", qPrintable(file));
            return 1;
        }
        db = sqliteDatabase(file, "kbtz-drive");
    } else if (args.size() == 3 && args[1] == "--pg") {
        db = postgresDatabase(args[2], "kbtz-drive");
    } else {
        return usage();
    }
    if (!db.open()) {
        std::fprintf(stderr, "kbtz-drive: cannot open the database: %s\n", qPrintable(db.lastError().text()));
        return 1;
    }
    syncWalAtCheckpoints(db);

    Driver driver(db);
    driver.setTiming(timing);
    // Lets a benchmark or a bug report compare the equivalent statement forms
    // with the control's own texts (=0 runs these).
    if (qEnvironmentVariable("KBTZ_SQLITE_EQUIVALENTS") == QLatin1String("0"))
        driver.control().setSqliteEquivalents(false);
    if (qEnvironmentVariable("KBTZ_PG_EQUIVALENTS") == QLatin1String("0"))
        driver.control().setPostgresEquivalents(false);
    std::string raw;
    while (std::getline(std::cin, raw)) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty())
            continue;
        const QByteArray json = QJsonDocument(driver.run(line)).toJson(QJsonDocument::Compact);
        std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    return 0;
}

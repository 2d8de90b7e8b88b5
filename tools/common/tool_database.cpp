#include "common/tool_database.h"

#include "store/open_database.h"

#include <QFileInfo>
#include <QSqlError>

bool takeDatabaseOption(const QStringList& args, qsizetype& i, ToolDatabaseOptions& options, QString* error)
{
    const QString& arg = args[i];
    QString* target = arg == QLatin1String("--db")     ? &options.file
                      : arg == QLatin1String("--pg")   ? &options.conninfo
                      : arg == QLatin1String("--year") ? &options.timetable.schoolYear
                      : arg == QLatin1String("--term") ? &options.timetable.term
                      : arg == QLatin1String("--name") ? &options.timetable.name
                                                       : nullptr;
    if (!target)
        return false;
    if (i + 1 >= args.size()) {
        *error = QStringLiteral("%1 needs a value").arg(arg);
    } else {
        *target = args[++i];
    }
    ++i;
    return true;
}

QSqlDatabase openToolDatabase(const ToolDatabaseOptions& options, const QString& connectionName, QString* error)
{
    if (options.file.isEmpty() == options.conninfo.isEmpty()) {
        *error = QStringLiteral("give one database: --db FILE or --pg CONNINFO");
        return {};
    }
    QSqlDatabase db;
    if (!options.file.isEmpty()) {
        if (!QFileInfo(options.file).isFile()) {
            *error = QStringLiteral("no database file %1").arg(options.file);
            return {};
        }
        db = sqliteDatabase(options.file, connectionName);
    } else {
        db = postgresDatabase(options.conninfo, connectionName, error);
        if (!error->isEmpty())
            return {};
    }
    if (!db.open()) {
        *error = QStringLiteral("cannot open the database: %1").arg(db.lastError().text());
        return {};
    }
    return db;
}

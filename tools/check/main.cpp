// kbtz-check: checks a timetable before it is published.
//
//   kbtz-check --db FILE | --pg CONNINFO [--year Y --term T --name N] [--json]
//
// Prints every problem of the timetable (text, or JSON with --json). Exits 0
// when it has no conflict (hours left are information only), 1 when it has
// one, 2 when the command line, the database or the timetable is wrong.

#include "check/conflict_check.h"
#include "store/timetable_rows.h"
#include "report_text.h"
#include "common/timetable_choice.h"
#include "common/tool_database.h"
#include "store/connection.h"
#include "store/control_error.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <cstdio>

namespace {

int usage(const QString& problem)
{
    std::fprintf(stderr,
                 "kbtz-check: %s\nusage: kbtz-check --db FILE | --pg CONNINFO [--year Y --term T --name N] [--json]\n",
                 qUtf8Printable(problem));
    return 2;
}

void print(const QByteArray& text) { std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout); }

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    ToolDatabaseOptions options;
    bool json = false;
    QString error;
    for (qsizetype i = 1; i < args.size();) {
        if (takeDatabaseOption(args, i, options, &error)) {
            if (!error.isEmpty())
                return usage(error);
        } else if (args[i] == QLatin1String("--json")) {
            json = true;
            ++i;
        } else {
            return usage(QStringLiteral("unknown argument %1").arg(args[i]));
        }
    }

    QSqlDatabase db = openToolDatabase(options, QStringLiteral("kbtz-check"), &error);
    if (!db.isOpen())
        return usage(error);
    try {
        Connection conn(db);
        const std::optional<TimetableName> timetable = chooseTimetable(conn, options.timetable, &error);
        if (!timetable) {
            std::fprintf(stderr, "kbtz-check: %s\n", qUtf8Printable(error));
            return 2;
        }
        const ConflictReport report = checkTimetable(conn, timetable->id);
        if (json) {
            QJsonObject out = reportJson(report);
            out.insert("timetable", QJsonObject{{"id", timetable->id},
                                                {"schoolYear", timetable->schoolYear},
                                                {"term", timetable->term},
                                                {"name", timetable->name}});
            print(QJsonDocument(out).toJson(QJsonDocument::Indented));
        } else {
            print(reportText(report, timetableTitle(timetable->schoolYear, timetable->term, timetable->name)).toUtf8());
        }
        return report.conflictCount() > 0 ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kbtz-check: %s\n", qUtf8Printable(describe(e)));
        return 2;
    }
}

// kbtz-export: prints a timetable to a file.
//
//   kbtz-export --db FILE | --pg CONNINFO [--year Y --term T --name N]
//               --pdf|--csv|--html OUT [--classes all|ID...] [--teachers all|ID...]
//
// PDF and HTML give one page per week (the classes first, then the
// teachers), CSV one row per lesson. Without --classes and --teachers it
// exports all classes. The timetable is chosen as kbtz-check chooses it.
// Exits 0 when the file is written, 2 otherwise.

#include "common/timetable_choice.h"
#include "common/tool_database.h"
#include "export/timetable_export.h"
#include "store/connection.h"
#include "store/control_error.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>

namespace {

int usage(const QString& problem)
{
    std::fprintf(stderr,
                 "kbtz-export: %s\n"
                 "usage: kbtz-export --db FILE | --pg CONNINFO [--year Y --term T --name N]\n"
                 "                   --pdf|--csv|--html OUT [--classes all|ID...] [--teachers all|ID...]\n",
                 qUtf8Printable(problem));
    return 2;
}

// The ids after --classes or --teachers, up to the next option; "all" alone
// stands for every one.
void takeOwners(const QStringList& args, qsizetype& i, bool& all, QStringList& ids)
{
    for (++i; i < args.size() && !args[i].startsWith(QLatin1String("--")); ++i) {
        if (args[i] == QLatin1String("all"))
            all = true;
        else
            ids << args[i];
    }
}

} // namespace

int main(int argc, char** argv)
{
    // A tool that never shows a window needs no display to lay out its pages.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();

    ToolDatabaseOptions options;
    ExportSelection selection;
    std::optional<ExportFormat> format;
    QString out, error;
    const std::pair<const char*, ExportFormat> formats[] = {
        {"--pdf", ExportFormat::Pdf}, {"--csv", ExportFormat::Csv}, {"--html", ExportFormat::Html}};
    for (qsizetype i = 1; i < args.size();) {
        if (takeDatabaseOption(args, i, options, &error)) {
            if (!error.isEmpty())
                return usage(error);
            continue;
        }
        if (args[i] == QLatin1String("--classes")) {
            takeOwners(args, i, selection.allClasses, selection.classIds);
            continue;
        }
        if (args[i] == QLatin1String("--teachers")) {
            takeOwners(args, i, selection.allTeachers, selection.teacherIds);
            continue;
        }
        const auto f = std::find_if(std::begin(formats), std::end(formats),
                                    [&](const auto& entry) { return args[i] == QLatin1String(entry.first); });
        if (f == std::end(formats))
            return usage(QStringLiteral("unknown argument %1").arg(args[i]));
        if (format)
            return usage(QStringLiteral("give one of --pdf, --csv and --html"));
        if (i + 1 >= args.size())
            return usage(QStringLiteral("%1 needs a file").arg(args[i]));
        format = f->second;
        out = args[i + 1];
        i += 2;
    }
    if (!format)
        return usage(QStringLiteral("give one of --pdf, --csv and --html"));
    if (selection.empty())
        selection.allClasses = true;

    QSqlDatabase db = openToolDatabase(options, QStringLiteral("kbtz-export"), &error);
    if (!db.isOpen())
        return usage(error);
    try {
        Connection conn(db);
        const std::optional<TimetableName> timetable = chooseTimetable(conn, options.timetable, &error);
        if (!timetable) {
            std::fprintf(stderr, "kbtz-export: %s\n", qUtf8Printable(error));
            return 2;
        }
        PageHeading heading;
        heading.schoolYear = timetable->schoolYear;
        heading.term = timetable->term;
        heading.scheduleName = timetable->name;
        const int written = exportTimetable(conn, timetable->id, heading, *format, out, selection);
        std::printf("%s: %d %s\n", qUtf8Printable(out), written, *format == ExportFormat::Csv ? "lessons" : "pages");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kbtz-export: %s\n", qUtf8Printable(describe(e)));
        return 2;
    }
}

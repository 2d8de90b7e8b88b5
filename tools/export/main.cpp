// kbtz-export: prints a timetable to a file.
//
//   kbtz-export --db FILE | --pg CONNINFO [--year Y --term T --name N]
//               --pdf|--csv|--html OUT [--classes all|ID...] [--teachers all|ID...]
//   kbtz-export --db FILE | --pg CONNINFO [--year Y --term T --name N] --fet OUT.fet
//
// PDF and HTML give one page per week (the classes first, then the
// teachers), CSV one row per lesson. Without --classes and --teachers it
// exports all classes. The timetable is chosen as kbtz-check chooses it.
// --fet writes a timetable that kbtz-import brought in back into its FET
// file, every activity starting where its lessons stand now.
// Exits 0 when the file is written, 2 otherwise; --fet exits 1 when it wrote
// the file but some activities kept the start they came with (it lists them).

#include "common/timetable_choice.h"
#include "common/tool_database.h"
#include "export/timetable_export.h"
#include "fet/fet_export.h"
#include "fet/fet_file.h"
#include "store/connection.h"
#include "store/control_error.h"

#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <algorithm>
#include <cstdio>

namespace {

int usage(const QString& problem)
{
    std::fprintf(stderr,
                 "kbtz-export: %s\n"
                 "usage: kbtz-export --db FILE | --pg CONNINFO [--year Y --term T --name N]\n"
                 "                   --pdf|--csv|--html OUT [--classes all|ID...] [--teachers all|ID...]\n"
                 "       kbtz-export --db FILE | --pg CONNINFO [--year Y --term T --name N] --fet OUT.fet\n",
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

// The timetable back into the FET file it was imported from.
int exportFetFile(Connection& conn, const QString& xnId, const QString& out)
{
    const fet::FetExport written = fet::exportFet(conn, xnId);
    QSaveFile file(out);
    const QByteArray bytes = written.text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "kbtz-export: cannot write %s: %s\n", qUtf8Printable(out),
                     qUtf8Printable(file.errorString()));
        return 2;
    }
    std::printf("%s: %d activities, %d moved\n", qUtf8Printable(out), written.activities, written.moved);
    for (const fet::UnwritableActivity& a : written.unwritable)
        std::printf("activity %d keeps its imported start: %s\n", a.activityId, qUtf8Printable(a.reason));
    return written.unwritable.empty() ? 0 : 1;
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
    QString out, fetOut, error;
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
        if (args[i] == QLatin1String("--fet")) {
            if (i + 1 >= args.size())
                return usage(QStringLiteral("--fet needs a file"));
            fetOut = args[i + 1];
            i += 2;
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
    if (!format == fetOut.isEmpty())
        return usage(QStringLiteral("give one of --pdf, --csv, --html and --fet"));
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
        if (!fetOut.isEmpty())
            return exportFetFile(conn, timetable->id, fetOut);
        PageHeading heading;
        heading.schoolYear = timetable->schoolYear;
        heading.term = timetable->term;
        heading.scheduleName = timetable->name;
        const int written = exportTimetable(conn, timetable->id, heading, *format, out, selection);
        std::printf("%s: %d %s\n", qUtf8Printable(out), written, *format == ExportFormat::Csv ? "lessons" : "pages");
        return 0;
    } catch (const fet::FetError& e) {
        std::fprintf(stderr, "kbtz-export: %s\n", qUtf8Printable(e.message()));
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kbtz-export: %s\n", qUtf8Printable(describe(e)));
        return 2;
    }
}

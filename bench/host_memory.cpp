// kbtz-host-memory: the resident memory of the test host frmKbTz on a
// synthetic school after a hundred user interactions, drawn offscreen.
//
//   kbtz-host-memory [--classes N] [--teachers M] [--interactions K]
//
// The window is the host's own (src/host/frm_kbtz.cpp); the interactions go
// through the control as its widget delivers them, and the window repaints
// after each: choosing a class and a teacher, right-clicking a lesson,
// clicking a plan item, dropping it, removing the analysed lesson.

#include "class_cell.h"
#include "state/colors.h"
#include "control/qx_mavowin.h"
#include "gen/synthetic_school.h"
#include "gen/writer.h"
#include "host/frm_kbtz.h"
#include "store/open_database.h"

#include <QApplication>
#include <QFile>
#include <QSqlError>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr Side kClass = Side::Class;

// VmRSS or VmHWM of this process, in MB.
double memoryMb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(qstrlen(field))).trimmed().split(' ').front().toDouble() / 1024.0;
    return -1;
}

int intArg(const QStringList& args, const QString& name, int fallback)
{
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1].toInt() : fallback;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();

    gen::SyntheticOptions options;
    options.classes = intArg(args, QStringLiteral("--classes"), 120);
    options.teachers = intArg(args, QStringLiteral("--teachers"), 300);
    options.fill = 0.97;
    const int interactions = intArg(args, QStringLiteral("--interactions"), 100);

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/school.db");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("write"));
        db.setDatabaseName(path);
        QString error = db.open() ? gen::createSchema(db) : db.lastError().text();
        if (error.isEmpty())
            error = gen::writeSchool(db, gen::syntheticSchool(options));
        if (!error.isEmpty()) {
            std::fprintf(stderr, "kbtz-host-memory: %s\n", qPrintable(error));
            return 1;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("write"));

    const double before = memoryMb("VmRSS:");
    QSqlDatabase db = sqliteDatabase(path, QStringLiteral("host"));
    if (!db.open()) {
        std::fprintf(stderr, "kbtz-host-memory: %s\n", qPrintable(db.lastError().text()));
        return 1;
    }
    FrmKbTz window;
    window.show();
    window.load(db);
    QxMavoWinWidget& widget = *window.C();
    QX_MavoWin& control = widget.control();
    control.setPause([](double) {});
    // A box offscreen would wait for an answer that never comes; boxes are
    // only counted.
    control.messages().setPresenter({});
    auto settle = [&] {
        widget.syncFromSurface();
        QApplication::processEvents();
        window.grab(); // paints every widget of the window
    };
    settle();
    const double started = memoryMb("VmRSS:");

    Surface& s = control.surface();
    const int classes = s.cmbBj.ListCount();
    const int teachers = s.cmbJs.ListCount();
    int done = 0;
    bool itemClicked = false; // a drop from the list follows a click on its item
    for (int k = 0; done < interactions; ++k) {
        int weekday = 0, index = 0;
        switch (k % 6) {
        case 0: s.cmbBj.setListIndex((k * 7) % classes); break;
        case 1: s.cmbJs.setListIndex((k * 11) % teachers); break;
        case 2:
            if (!findCell(
                    control, [](const Label& l) { return !l.Tag.isEmpty(); }, weekday, index))
                continue;
            control.cellClick(kClass, weekday, index);
            break;
        case 3:
            if (s.lstBj.ListItems.empty())
                continue;
            s.lstBj.SelectedIndex = 0;
            control.planItemClick(s.lstBj, 0);
            itemClicked = true;
            break;
        case 4:
            if (!itemClicked ||
                !findCell(
                    control, [](const Label& l) { return l.Tag.isEmpty() && l.BackColor == color::Available; }, weekday,
                    index))
                continue;
            control.cellDragDrop(kClass, weekday, index);
            break;
        case 5:
            if (!findCell(
                    control, [](const Label& l) { return !l.Tag.isEmpty(); }, weekday, index))
                continue;
            control.cellClick(kClass, weekday, index);
            control.cmdDelBjClick();
            break;
        }
        if (k % 6 != 3)
            itemClicked = false;
        settle();
        ++done;
    }
    const double after = memoryMb("VmRSS:");
    std::printf("frmKbTz, %d classes, %d teachers: resident %.1f MB before the window, %.1f MB after start-up, "
                "%.1f MB after %d interactions (peak %.1f MB); %zu message boxes\n",
                options.classes, options.teachers, before, started, after, done, memoryMb("VmHWM:"),
                control.messages().shown().size());
    for (const MessageBoxRecord& box : control.messages().shown())
        std::printf("  message box: %s\n", qPrintable(box.text));
    return 0;
}

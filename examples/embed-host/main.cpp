// embed-host: a host window with the QX_MavoWin control on it, started on a
// SQLite timetable database.
//
//   embed-host [--quit-after-init] DB [学年 学期 排课名称]

#include <qxmavowin/qxmavowin_widget.h>

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QMainWindow>
#include <QSqlDatabase>
#include <QSqlError>
#include <QStatusBar>
#include <cstdio>
#include <stdexcept>

// The host's own window, which the control disables while it works.
class MainWindow : public QMainWindow, public WidgetHostWindow {
public:
    MainWindow() : WidgetHostWindow(this)
    {
        setWindowTitle(QStringLiteral("Embed host"));
        control = new QxMavoWinWidget(this);
        control->setObjectName(QStringLiteral("C"));
        setCentralWidget(control);
    }

    QxMavoWinWidget* control;
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool quitAfterInit = args.removeAll(QStringLiteral("--quit-after-init")) > 0;
    if (args.isEmpty() || args.size() > 4) {
        std::fprintf(stderr, "usage: embed-host [--quit-after-init] DB [学年 学期 排课名称]\n");
        return 2;
    }
    const QString file = args.value(0);
    const QString year = args.value(1, QStringLiteral("2005-2006"));
    const QString term = args.value(2, QStringLiteral("2"));
    const QString name = args.value(3, QStringLiteral("课表"));

    // The host owns the connection; the control only uses it.
    if (!QFileInfo(file).isFile()) {
        std::fprintf(stderr, "embed-host: no database file %s\n", qUtf8Printable(file));
        return 1;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(file);
    if (!db.open()) {
        std::fprintf(stderr, "embed-host: %s\n", qUtf8Printable(db.lastError().text()));
        return 1;
    }

    MainWindow window;
    try {
        // Late-bound, as a host that knows only the member id does.
        window.control->invoke(
            QxMavoWinWidget::DispIdQxIni,
            {QVariant::fromValue(db), year, term, name, QVariant::fromValue(static_cast<HostWindow*>(&window)), 1});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "embed-host: QxIni failed: %s\n", e.what());
        return 1;
    }
    // What the control shows, seen as any widget's children are.
    int periods = 0;
    while (window.control->cellWidget(Side::Class, 1, periods))
        ++periods;
    const auto* classes = window.control->findChild<QComboBox*>(QStringLiteral("cmbBj"));
    const auto* teachers = window.control->findChild<QComboBox*>(QStringLiteral("cmbJs"));
    std::printf("QxIni done: %d periods, %d classes, %d teachers\n", periods, classes ? classes->count() : 0,
                teachers ? teachers->count() : 0);
    window.statusBar()->showMessage(QStringLiteral("%1 %2 %3").arg(year, term, name));
    window.show();
    if (quitAfterInit)
        return 0;
    return app.exec();
}

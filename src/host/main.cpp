// frmKbTz: the timetable-adjustment control on its own window, against the
// SQLite database qx_lm.db in the program's folder (or --db FILE).

#include "host/conflicts_panel.h"
#include "host/frm_kbtz.h"
#include "host/host_options.h"
#include "host/qt_translations.h"
#include "store/control_error.h"
#include "store/open_database.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QSqlError>
#include <cstdio>
#include <memory>

namespace {

const QString kDatabaseFile = QStringLiteral("qx_lm.db");

// Whether Qt can show windows here; without one, QApplication would abort.
bool displayAvailable()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

bool interactive(const HostOptions& options)
{
    if (!options.screenshot.isEmpty() || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

// A start-up failure: on stderr, and in a box when someone can read it.
int fail(const HostOptions& options, const QString& text, int code)
{
    std::fprintf(stderr, "frmKbTz: %s\n", qUtf8Printable(text));
    if (interactive(options))
        QMessageBox::critical(nullptr, QStringLiteral("frmKbTz"), text);
    return code;
}

void rightClick(QWidget* widget)
{
    const QPointF at = QRectF(widget->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::RightButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

// As designed, but never larger than the screen leaves room for (a task
// bar, the window frame): the control scales down to what fits.
QSize windowSize(const QWidget& window)
{
    const QScreen* screen = window.screen();
    const QSize room = screen ? screen->availableSize() : window.sizeHint();
    return window.sizeHint().boundedTo(room);
}

// Chooses an entry of a selector as the user does.
bool choose(FrmKbTz& window, const char* name, int entry)
{
    auto* combo = window.C()->findChild<QComboBox*>(QString::fromLatin1(name));
    if (!combo || entry >= combo->count())
        return false;
    combo->setCurrentIndex(entry);
    emit combo->activated(entry);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QString error;
    const std::optional<HostOptions> parsed = parseHostOptions(argc, argv, &error);
    if (!parsed) {
        std::fprintf(stderr, "frmKbTz: %s\n%s", qUtf8Printable(error), hostUsage());
        return 2;
    }
    const HostOptions& options = *parsed;
    if (options.help) {
        std::fputs(hostUsage(), stdout);
        return 0;
    }

    const bool display = displayAvailable();
    std::unique_ptr<QCoreApplication> app;
    if (display)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    installQtTranslations(*app);

    QSqlDatabase db;
    QString where;
    if (!options.pg.isEmpty()) {
        QString problem;
        db = postgresDatabase(options.pg, QStringLiteral("frmKbTz"), &problem);
        if (!problem.isEmpty())
            return fail(options, QStringLiteral("连接字符串有误：%1").arg(problem), 1);
        where = options.pg;
    } else {
        where = options.db.isEmpty() ? QDir(QCoreApplication::applicationDirPath()).filePath(kDatabaseFile)
                                     : QFileInfo(options.db).absoluteFilePath();
        // The SQLite driver would create an empty database in place of a missing one.
        if (!QFileInfo(where).isFile())
            return fail(options, QStringLiteral("找不到数据库文件：%1").arg(QDir::toNativeSeparators(where)), 1);
        db = sqliteDatabase(where, QStringLiteral("frmKbTz"));
    }
    if (!display)
        return fail(
            options,
            QStringLiteral("no display: run under xvfb-run, or with QT_QPA_PLATFORM=offscreen for --screenshot"), 1);
    if (!db.open())
        return fail(options, QStringLiteral("无法打开数据库 %1：%2").arg(where, db.lastError().text()), 1);
    syncWalAtCheckpoints(db);

    FrmKbTz window;
    window.C()->setStateMarks(options.marks);
    try {
        window.load(db);
    } catch (const std::exception& e) {
        return fail(options, QStringLiteral("QxIni 失败：%1").arg(describe(e)), 1);
    }
    window.resize(options.size.isValid() ? options.size : windowSize(window));
    window.show();

    QCoreApplication::processEvents();
    if (options.pickClass >= 0 && !choose(window, "cmbBj", options.pickClass))
        return fail(options, QStringLiteral("the class selector has no entry %1").arg(options.pickClass), 1);
    if (options.pickTeacher >= 0 && !choose(window, "cmbJs", options.pickTeacher))
        return fail(options, QStringLiteral("the teacher selector has no entry %1").arg(options.pickTeacher), 1);
    if (options.rclickWeekday > 0) {
        QWidget* cell = window.C()->cellWidget(Side::Class, options.rclickWeekday, options.rclickPeriod - 1);
        if (!cell)
            return fail(
                options,
                QStringLiteral("the class grid has no cell %1/%2").arg(options.rclickWeekday).arg(options.rclickPeriod),
                1);
        rightClick(cell);
    }
    if (options.conflicts)
        window.conflicts()->refresh();
    QCoreApplication::processEvents();
    if (options.screenshot.isEmpty())
        return app->exec();

    const QString png = QFileInfo(options.screenshot).absoluteFilePath();
    if (!window.grab().save(png))
        return fail(options, QStringLiteral("cannot write %1").arg(png), 1);
    std::printf("%s\n", qUtf8Printable(png));
    return 0;
}

#include "school_window.h"

#include "control/surface.h"
#include "gen/writer.h"
#include "store/connection.h"
#include "ui/surface_widgets.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

QString schoolScriptPath() { return QStringLiteral(KBTZ_WIDGET_DATA_DIR "/school.sql"); }

void loadSchool(TestDatabase& db)
{
    QFile f(schoolScriptPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << schoolScriptPath().toStdString();
    // One transaction: a file system that syncs every commit makes the
    // inserts one by one slow.
    QSqlDatabase conn = db.db();
    ASSERT_TRUE(conn.transaction());
    const QString error = gen::runScript(conn, QString::fromUtf8(f.readAll()));
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_TRUE(conn.commit());
}

SchoolWindow::SchoolWindow(std::function<void(Connection&)> setup) : WidgetHostWindow(this)
{
    loadSchool(db);
    C = new QxMavoWinWidget(this);
    C->setObjectName(QStringLiteral("C"));
    if (setup)
        C->control().setConnectionSetup(std::move(setup));
    resize(C->sizeHint());
    C->QxIni(db.db(), QStringLiteral("2005-2006"), QStringLiteral("2"), QStringLiteral("课表"), this, 1);
    show();
    QCoreApplication::processEvents();
}

// The control lets go of the database before the database goes.
SchoolWindow::~SchoolWindow() { delete C; }

QWidget* SchoolWindow::cell(const QString& kind, int weekday, int period) const
{
    return C->cellWidget(kind, weekday, period - 1);
}

QComboBox* SchoolWindow::combo(const char* name) const { return child<QComboBox>(name); }
QTreeWidget* SchoolWindow::list(const char* name) const { return child<QTreeWidget>(name); }

QColor SchoolWindow::shownBackColor(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    return image.pixelColor(1, 1);
}

bool SchoolWindow::showsDarkPixels(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                return true;
    return false;
}

void SchoolWindow::chooseByKeys(const char* comboName, const QString& entry)
{
    QComboBox* box = combo(comboName);
    ASSERT_NE(box, nullptr);
    const int target = box->findText(entry);
    ASSERT_GE(target, 0) << entry.toStdString();
    box->setFocus();
    // Step onto the entry from the first one; each step is a user's choice.
    if (box->currentIndex() != 0)
        QTest::keyClick(box, Qt::Key_Home);
    while (box->currentIndex() < target)
        QTest::keyClick(box, Qt::Key_Down);
    ASSERT_EQ(box->currentIndex(), target);
}

BoxWatcher::BoxWatcher(SchoolWindow& window)
{
    auto* timer = new QTimer;
    timer_.reset(timer);
    QObject::connect(timer, &QTimer::timeout, [this, &window] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (boxes++ == 0) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            hostEnabledMeanwhile = window.isEnabled();
            boxEnabled = box->isEnabled();
            pointerMeanwhile = window.MousePointer();
        }
        box->button(QMessageBox::Ok)->click();
    });
    timer->start(0);
}

BoxWatcher::~BoxWatcher() = default;

namespace {

QMimeData* dragData()
{
    auto* mime = new QMimeData;
    mime->setData(qxui::kDragMimeType, QByteArray());
    return mime;
}

void enterAndMove(QWidget* w, QMimeData* mime)
{
    const QPoint at = w->rect().center();
    QDragEnterEvent enter(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &enter);
    EXPECT_TRUE(enter.isAccepted()) << w->objectName().toStdString();
    QDragMoveEvent move(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void drop(QWidget* to, QMimeData* mime)
{
    QDropEvent event(to->rect().center(), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(to, &event);
    EXPECT_TRUE(event.isAccepted());
    // The control handles the drop once the toolkit's drag has ended.
    QCoreApplication::processEvents();
}

} // namespace

void dragCellToCell(QWidget* from, QWidget* to)
{
    std::unique_ptr<QMimeData> mime(dragData());
    enterAndMove(from, mime.get());
    QDragLeaveEvent leave;
    QApplication::sendEvent(from, &leave);
    enterAndMove(to, mime.get());
    drop(to, mime.get());
}

void dragOntoCell(QWidget* to)
{
    std::unique_ptr<QMimeData> mime(dragData());
    enterAndMove(to, mime.get());
    drop(to, mime.get());
}

QColor screenColor(std::uint32_t ole)
{
    return QColor(static_cast<int>(ole & 0xFF), static_cast<int>((ole >> 8) & 0xFF), static_cast<int>((ole >> 16) & 0xFF));
}

// Real events on the widget reach the control's handlers, and what the
// handlers change shows on screen. What the handlers do with the database is
// the driver tests' business: one read-back per event path here.

#include "school_window.h"

#include "control/colors.h"
#include "control/surface.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "ui/surface_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString kClass = QStringLiteral("班级");
const QString kTeacher = QStringLiteral("教师");

// What the user sees: a cell's background (a corner pixel) and whether a
// widget shows any pixel close to black (text).
QColor shownBackColor(QWidget* w) { return w->grab().toImage().pixelColor(1, 1); }
QColor screenColor(std::uint32_t ole) { return QColor(ole & 0xFF, (ole >> 8) & 0xFF, (ole >> 16) & 0xFF); }
bool showsDarkPixels(QWidget* w)
{
    const QImage image = w->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                return true;
    return false;
}

// A drag inside the control, as the toolkit delivers it: enter and move on
// the cell where it began, leave, enter and move on the target, drop.
void dragCellToCell(QWidget* from, QWidget* to)
{
    QMimeData mime;
    mime.setData(qxui::kDragMimeType, QByteArray());
    for (QWidget* w : {from, to}) {
        QDragEnterEvent enter(w->rect().center(), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        EXPECT_TRUE(enter.isAccepted()) << w->objectName().toStdString();
        QDragMoveEvent move(w->rect().center(), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        if (w == from) {
            QDragLeaveEvent leave;
            QApplication::sendEvent(from, &leave);
        }
    }
    QDropEvent drop(to->rect().center(), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(to, &drop);
    EXPECT_TRUE(drop.isAccepted());
    QCoreApplication::processEvents(); // the control handles the drop once the drag has ended
}

// Answers every message box that comes up while it lives; remembers the first.
struct BoxWatcher {
    explicit BoxWatcher(QWidget& host)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, &host] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && boxes++ == 0) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                hostEnabledMeanwhile = host.isEnabled();
            }
            if (box)
                box->button(QMessageBox::Ok)->click();
        });
        timer.start(0);
    }
    QTimer timer;
    int boxes = 0, icon = 0;
    QString title, text;
    bool hostEnabledMeanwhile = true;
};

void rightClick(QWidget* w) { QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, w->rect().center()); }

// Class 高一(1)班 chosen through the level, grade and class selectors.
void chooseClassOne(SchoolWindow& w)
{
    w.chooseByKeys("cmbJb", QStringLiteral("高中"));
    w.chooseByKeys("cmbNj", QStringLiteral("高一"));
    w.chooseByKeys("cmbBj", QStringLiteral("高一(1)班"));
}

void enterShortCode(SchoolWindow& w, const QString& code)
{
    auto* jm = w.child<QLineEdit>("txtJm");
    jm->setFocus();
    QTest::keyClicks(jm, code);
    QTest::keyClick(jm, Qt::Key_Return);
}

} // namespace

TEST(WidgetEvents, ChosenClassRightClickedAndDraggedToAnAvailableCellMovesTheLesson)
{
    SchoolWindow w([](Connection& c) { c.setTraceEnabled(true); });
    chooseClassOne(w);
    // Monday period 1 holds 语文 of 张伟; Saturday is free.
    EXPECT_TRUE(showsDarkPixels(w.cell(kClass, 1, 1)));
    EXPECT_FALSE(showsDarkPixels(w.cell(kClass, 6, 1)));

    // Showing the surface again is no user choice: nothing reaches the database.
    Connection& conn = w.C->control().conn();
    conn.takeTrace();
    w.C->syncFromSurface();
    EXPECT_TRUE(conn.trace().empty());

    rightClick(w.cell(kClass, 1, 1));
    EXPECT_EQ(shownBackColor(w.cell(kClass, 1, 1)), screenColor(color::AnalysedLesson));
    EXPECT_EQ(w.child<QComboBox>("cmbJs")->currentText(), QStringLiteral("张伟"));
    // 张伟 teaches 高一(2)班 on Monday period 3.
    EXPECT_TRUE(showsDarkPixels(w.cell(kTeacher, 1, 3)));

    QWidget* target = w.cell(kClass, 3, 6);
    ASSERT_EQ(shownBackColor(target), screenColor(color::Available));
    dragCellToCell(w.cell(kClass, 1, 1), target);
    EXPECT_EQ(w.db.rows("select 星期, 课节 from kcb where id='l01'"), QStringList{"3|6"});
    EXPECT_TRUE(showsDarkPixels(target));
    EXPECT_FALSE(showsDarkPixels(w.cell(kClass, 1, 1)));
}

TEST(WidgetEvents, PlanItemCheckBoxDeleteButtonAndShortCodeReachTheControl)
{
    SchoolWindow w;
    chooseClassOne(w);
    Surface& surface = w.C->control().surface();

    auto* lstBj = w.child<QTreeWidget>("lstBj");
    QTreeWidgetItem* physics = lstBj->findItems(QStringLiteral("物理"), Qt::MatchExactly).value(0);
    ASSERT_NE(physics, nullptr);
    QTest::mouseClick(lstBj->viewport(), Qt::LeftButton, Qt::NoModifier, lstBj->visualItemRect(physics).center());
    EXPECT_EQ(surface.lstBj.SelectedIndex, lstBj->indexOfTopLevelItem(physics));
    auto* help = w.child<QPlainTextEdit>("txtHelp");
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->toPlainText().startsWith(QStringLiteral("课程名:物理"))) << help->toPlainText().toStdString();

    auto* chkJs = w.child<QCheckBox>("chkJs");
    ASSERT_EQ(surface.chkJs.Value, 1);
    QTest::mouseClick(chkJs, Qt::LeftButton, Qt::NoModifier, QPoint(4, chkJs->height() / 2));
    EXPECT_EQ(surface.chkJs.Value, 0);

    rightClick(w.cell(kClass, 2, 4)); // 物理 on Tuesday period 4
    QTest::mouseClick(w.child<QPushButton>("cmdDelBj"), Qt::LeftButton);
    EXPECT_TRUE(w.db.rows("select id from kcb where id='l12'").isEmpty());
    EXPECT_FALSE(showsDarkPixels(w.cell(kClass, 2, 4)));

    enterShortCode(w, QStringLiteral("ln"));
    EXPECT_EQ(w.child<QComboBox>("cmbJs")->currentText(), QStringLiteral("李娜"));
    // 李娜 teaches 高一(2)班 on Monday period 1.
    EXPECT_TRUE(showsDarkPixels(w.cell(kTeacher, 1, 1)));
}

// A failing fill is the control's own failure path: a "警告" box with the
// host disabled. Any other error reaches the widget, which shows it and goes on.
TEST(WidgetEvents, FailuresAreShownInTheirMessageBox)
{
    struct Case {
        const char* failingSql;
        std::function<void(SchoolWindow&)> act;
        QString title;
        int icon;
        bool hostEnabled;
        int unhandled;
    };
    const Case cases[] = {
        {"from kcb left join", [](SchoolWindow& w) { enterShortCode(w, QStringLiteral("ln")); },
         QStringLiteral("警告"), QMessageBox::Information, false, 0},
        {") as pp ", [](SchoolWindow& w) { w.chooseByKeys("cmbBj", QStringLiteral("初一(1)班")); },
         QString(), QMessageBox::Critical, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failingSql);
        bool failing = false;
        SchoolWindow w([&](Connection& conn) {
            conn.setFaultHook([&](const TraceEntry& entry) {
                if (failing && entry.text.contains(QLatin1String(c.failingSql)))
                    throw DbError(QStringLiteral("磁盘 I/O 错误"));
            });
        });
        int unhandled = 0;
        QObject::connect(w.C, &QxMavoWinWidget::unhandledError, [&] { ++unhandled; });
        failing = true;
        {
            BoxWatcher watcher(w);
            c.act(w);
            EXPECT_EQ(watcher.boxes, 1);
            EXPECT_TRUE(c.title.isEmpty() || watcher.title == c.title) << watcher.title.toStdString();
            EXPECT_EQ(watcher.icon, c.icon);
            EXPECT_TRUE(watcher.text.contains(QStringLiteral("磁盘 I/O 错误"))) << watcher.text.toStdString();
            EXPECT_EQ(watcher.hostEnabledMeanwhile, c.hostEnabled);
        }
        EXPECT_EQ(unhandled, c.unhandled);
        EXPECT_TRUE(w.isEnabled());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
}

// Real events on the widget reach the control's handlers, and what the
// handlers change shows on screen. What the handlers do with the database is
// the driver tests' business: one read-back per event path here.

#include "school_window.h"

#include "state/colors.h"
#include "state/surface.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "ui/drag_mime.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

namespace {

constexpr Side kClass = Side::Class;
constexpr Side kTeacher = Side::Teacher;

// What the user sees: whether a widget shows any pixel close to black (text).
bool showsDarkPixels(QWidget* w)
{
    const QImage image = w->grab().toImage().convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y)
        if (std::any_of(image.constScanLine(y), image.constScanLine(y) + image.width(),
                        [](uchar v) { return v < 100; }))
            return true;
    return false;
}

void rightClick(QWidget* w) { QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, w->rect().center()); }

// A drag inside the control, as the toolkit delivers it: enter and move on
// the cell where it began, leave, enter and move on the target, drop.
void dragCellToCell(QWidget* from, QWidget* to)
{
    QMimeData mime;
    mime.setData(qxui::kDragMimeType, QByteArray());
    for (QWidget* w : {from, to}) {
        QDragEnterEvent enter(w->rect().center(), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        EXPECT_TRUE(enter.isAccepted());
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

void enterShortCode(SchoolWindow& w, const QString& code)
{
    auto* jm = w.child<QLineEdit>("txtJm");
    jm->setFocus();
    QTest::keyClicks(jm, code);
    QTest::keyClick(jm, Qt::Key_Return);
}

} // namespace

TEST(WidgetEvents, MouseKeyboardAndDragEventsReachTheControl)
{
    SchoolWindow w([](Connection& c) { c.setTraceEnabled(true); });
    QStringList boxes; // none expected; answered so that a test run never hangs
    QTimer answer;
    answerBoxes(answer, [&](QMessageBox* box) { boxes << box->text(); });
    w.chooseByKeys("cmbJb", QStringLiteral("高中"));
    w.chooseByKeys("cmbNj", QStringLiteral("高一"));
    w.chooseByKeys("cmbBj", QStringLiteral("高一(1)班"));
    // Monday period 1 holds 语文 of 张伟.
    EXPECT_TRUE(showsDarkPixels(w.cell(kClass, 1, 1)));

    // Showing the surface again is no user choice: nothing reaches the database.
    w.C->control().conn().takeTrace();
    w.C->syncFromSurface();
    EXPECT_TRUE(w.C->control().conn().trace().empty());

    rightClick(w.cell(kClass, 1, 1));
    EXPECT_EQ(shownColor(w.cell(kClass, 1, 1)), screenColor(color::AnalysedLesson));
    EXPECT_EQ(w.child<QComboBox>("cmbJs")->currentText(), QStringLiteral("张伟"));
    EXPECT_TRUE(showsDarkPixels(w.cell(kTeacher, 1, 3))); // 张伟 in 高一(2)班
    QWidget* target = w.cell(kClass, 3, 6);
    ASSERT_EQ(shownColor(target), screenColor(color::Available));
    dragCellToCell(w.cell(kClass, 1, 1), target);
    EXPECT_EQ(w.db.rows("select 星期, 课节 from kcb where id='l01'"), QStringList{"3|6"});
    EXPECT_TRUE(showsDarkPixels(target));

    // The platform's keys take the move back and write it again.
    EXPECT_TRUE(w.C->undoAction()->isEnabled());
    EXPECT_TRUE(w.C->undoAction()->text().startsWith(QStringLiteral("撤销 移动 语文 ")));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.db.rows("select 星期, 课节 from kcb where id='l01'"), QStringList{"1|1"});
    EXPECT_FALSE(w.C->undoAction()->isEnabled());
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.db.rows("select 星期, 课节 from kcb where id='l01'"), QStringList{"3|6"});

    auto* lstBj = w.child<QTreeWidget>("lstBj");
    QTreeWidgetItem* physics = lstBj->findItems(QStringLiteral("物理"), Qt::MatchExactly).value(0);
    ASSERT_NE(physics, nullptr);
    QTest::mouseClick(lstBj->viewport(), Qt::LeftButton, Qt::NoModifier, lstBj->visualItemRect(physics).center());
    auto* help = w.child<QPlainTextEdit>("txtHelp");
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->toPlainText().startsWith(QStringLiteral("课程名:物理"))) << help->toPlainText().toStdString();

    rightClick(w.cell(kClass, 2, 4)); // 物理 on Tuesday period 4
    QTest::mouseClick(w.child<QPushButton>("cmdDelBj"), Qt::LeftButton);
    EXPECT_TRUE(w.db.rows("select id from kcb where id='l12'").isEmpty());

    enterShortCode(w, QStringLiteral("ln"));
    EXPECT_EQ(w.child<QComboBox>("cmbJs")->currentText(), QStringLiteral("李娜"));
    EXPECT_TRUE(showsDarkPixels(w.cell(kTeacher, 1, 1))); // 李娜 in 高一(2)班

    for (const char* name : {"chkJs", "chkKcBj", "chkBj", "chkKcJs"}) {
        auto* box = w.child<QCheckBox>(name);
        const int before = w.C->control().surface().checkByName(QLatin1String(name))->Value;
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(4, box->height() / 2));
        EXPECT_EQ(w.C->control().surface().checkByName(QLatin1String(name))->Value, 1 - before) << name;
    }
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
}

// Makes the statements containing failingSql fail, acts, and checks the one
// message box that comes up and that the host takes input again afterwards.
static void expectFailureBox(const char* failingSql, const std::function<void(SchoolWindow&)>& act, int icon,
                             bool hostEnabled, const QString& title = QString())
{
    bool failing = false;
    SchoolWindow w([&](Connection& conn) {
        conn.setFaultHook([&](const TraceEntry& entry) {
            if (failing && entry.text.contains(QLatin1String(failingSql)))
                throw DbError(QStringLiteral("磁盘 I/O 错误"));
        });
    });
    failing = true;
    int boxes = 0;
    QTimer answer;
    answerBoxes(answer, [&](QMessageBox* box) {
        EXPECT_TRUE(title.isEmpty() || box->windowTitle() == title) << box->windowTitle().toStdString();
        EXPECT_EQ(box->icon(), icon);
        EXPECT_EQ(w.isEnabled(), hostEnabled);
        ++boxes;
    });
    act(w);
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A failing fill is the control's own failure path: a "警告" box with the
// host disabled. Any other error reaches the widget, which shows it and goes on.
TEST(WidgetEvents, FailuresAreShownInTheirMessageBox)
{
    expectFailureBox(
        "from kcb left join", [](SchoolWindow& w) { enterShortCode(w, QStringLiteral("ln")); },
        QMessageBox::Information, false, QStringLiteral("警告"));
    expectFailureBox(
        ") as pp ", [](SchoolWindow& w) { w.chooseByKeys("cmbBj", QStringLiteral("初一(1)班")); },
        QMessageBox::Critical, true);
}

// Real events on the widget reach the control and what it changes shows on
// screen and in the database.

#include "school_window.h"

#include "control/colors.h"
#include "control/surface.h"
#include "store/connection.h"
#include "store/control_error.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kClass = QStringLiteral("班级");
const QString kTeacher = QStringLiteral("教师");

void rightClick(QWidget* w) { QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, w->rect().center()); }

// Clicks the entry of a plan list whose first column reads text; its row.
int clickPlanItem(QTreeWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly, 0);
    if (found.isEmpty())
        return -1;
    const QRect r = list->visualItemRect(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    return list->indexOfTopLevelItem(found.front());
}

// Class 高一(1)班 chosen through the level, grade and class selectors.
void chooseClassOne(SchoolWindow& w)
{
    w.chooseByKeys("cmbJb", QStringLiteral("高中"));
    w.chooseByKeys("cmbNj", QStringLiteral("高一"));
    w.chooseByKeys("cmbBj", QStringLiteral("高一(1)班"));
}

} // namespace

TEST(WidgetEvents, ChoosingAClassShowsItsWeekAndPlanAndResyncRunsNoHandler)
{
    SchoolWindow w([](Connection& c) { c.setTraceEnabled(true); });
    chooseClassOne(w);
    EXPECT_EQ(w.combo("cmbBj")->currentText(), QStringLiteral("高一(1)班"));
    // Monday period 1 holds 语文 of 张伟; Saturday is free.
    EXPECT_TRUE(SchoolWindow::showsDarkPixels(w.cell(kClass, 1, 1)));
    EXPECT_FALSE(SchoolWindow::showsDarkPixels(w.cell(kClass, 6, 1)));
    // Hours left: 语文 1, 英语 2, 物理 2; 数学 is fully placed.
    QTreeWidget* lstBj = w.list("lstBj");
    EXPECT_EQ(lstBj->findItems(QStringLiteral("语文"), Qt::MatchExactly).size(), 1);
    EXPECT_TRUE(lstBj->findItems(QStringLiteral("数学"), Qt::MatchExactly).isEmpty());
    QTreeWidgetItem* physics = lstBj->findItems(QStringLiteral("物理"), Qt::MatchExactly).value(0);
    ASSERT_NE(physics, nullptr);
    EXPECT_EQ(physics->text(3), QStringLiteral("2"));
    EXPECT_TRUE(physics->toolTip(0).contains(QStringLiteral("课程名:物理"))) << physics->toolTip(0).toStdString();

    // Showing the surface again is no user choice: nothing reaches the database.
    Connection& conn = w.C->control().conn();
    conn.takeTrace();
    w.C->syncFromSurface();
    w.C->syncFromSurface();
    EXPECT_TRUE(conn.trace().empty());

    // The control choosing the lesson's teacher in cmbJs shows the choice;
    // the widget adds no statement of its own to what the click runs.
    auto statements = [&] {
        QStringList texts;
        for (const TraceEntry& e : conn.takeTrace())
            texts << e.text;
        return texts;
    };
    QTest::mouseClick(w.cell(kClass, 1, 1), Qt::RightButton);
    const QStringList byWidget = statements();
    EXPECT_EQ(w.combo("cmbJs")->currentText(), QStringLiteral("张伟"));
    w.C->control().cellClick(kClass, 1, 0);
    w.C->syncFromSurface();
    EXPECT_EQ(byWidget, statements());
    EXPECT_FALSE(byWidget.isEmpty());
}

TEST(WidgetEvents, RightClickOnALessonColoursTheGridAndFollowsTheTeacherAndADragMovesIt)
{
    SchoolWindow w;
    chooseClassOne(w);
    rightClick(w.cell(kClass, 1, 1)); // 语文, 张伟

    EXPECT_EQ(SchoolWindow::shownBackColor(w.cell(kClass, 1, 1)), screenColor(color::AnalysedLesson));
    int available = 0;
    for (int d = 1; d <= 7; ++d)
        for (int p = 1; p <= 8; ++p)
            if (SchoolWindow::shownBackColor(w.cell(kClass, d, p)) == screenColor(color::Available))
                ++available;
    EXPECT_GT(available, 10);
    // The class may not have lessons on Wednesday period 8: warned, with the reason.
    QWidget* warned = w.cell(kClass, 3, 8);
    EXPECT_EQ(SchoolWindow::shownBackColor(warned), screenColor(color::Warned));
    EXPECT_FALSE(warned->toolTip().isEmpty());
    EXPECT_EQ(w.combo("cmbJs")->currentText(), QStringLiteral("张伟"));
    // The teacher's week: 张伟 teaches 高一(2)班 on Monday period 3.
    EXPECT_TRUE(SchoolWindow::showsDarkPixels(w.cell(kTeacher, 1, 3)));

    // Dragging the analysed lesson to an available cell moves it in the database.
    QWidget* target = w.cell(kClass, 3, 6);
    ASSERT_EQ(SchoolWindow::shownBackColor(target), screenColor(color::Available));

    dragCellToCell(w.cell(kClass, 1, 1), target);

    EXPECT_EQ(w.db.rows("select 星期, 课节 from kcb where id='l01'"), QStringList{"3|6"});
    EXPECT_TRUE(SchoolWindow::showsDarkPixels(target));
    EXPECT_FALSE(SchoolWindow::showsDarkPixels(w.cell(kClass, 1, 1)));
    EXPECT_EQ(SchoolWindow::shownBackColor(target), screenColor(color::Changed));
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(WidgetEvents, APlanItemClickShowsTheHelpAndADropPlacesANewLessonWithItsTileGrowing)
{
    SchoolWindow w;
    chooseClassOne(w);
    QTreeWidget* lstBj = w.list("lstBj");
    const int row = clickPlanItem(lstBj, QStringLiteral("物理"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(w.C->control().surface().lstBj.SelectedIndex, row);

    auto* help = w.child<QPlainTextEdit>("txtHelp");
    ASSERT_TRUE(help->isVisible());
    EXPECT_TRUE(help->toPlainText().startsWith(QStringLiteral("课程名:物理"))) << help->toPlainText().toStdString();
    // Over the teacher plan list, leaving the clicked list free.
    EXPECT_TRUE(help->geometry().intersects(w.child<QWidget>("Frajxjhjs")->geometry()));
    EXPECT_FALSE(help->geometry().intersects(lstBj->geometry().translated(lstBj->parentWidget()->pos())));

    // The animation: the first tile of the class grid grows in the target.
    QWidget* tile = w.child<QWidget>("cBj");
    std::vector<int> heights;
    QX_MavoWin& control = w.C->control();
    control.setPause([&](double) {
        w.C->syncFromSurface();
        if (tile->isVisible())
            heights.push_back(tile->height());
    });
    QWidget* target = w.cell(kClass, 5, 5);
    ASSERT_EQ(SchoolWindow::shownBackColor(target), screenColor(color::Available));
    dragOntoCell(target);

    EXPECT_EQ(w.db.rows("select 星期, 课节 from kcb where jxjh_id='j4' order by 星期"), (QStringList{"2|4", "5|5"}));
    ASSERT_EQ(heights.size(), 8u);
    EXPECT_TRUE(std::is_sorted(heights.begin(), heights.end()));
    EXPECT_LT(heights.front(), heights.back());
    EXPECT_FALSE(tile->isVisible());
    EXPECT_EQ(lstBj->topLevelItem(row)->text(3), QStringLiteral("1"));
    EXPECT_EQ(w.combo("cmbJs")->currentText(), QStringLiteral("刘洋"));

    // A click on the help hides it.
    QTest::mouseClick(help->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(help->isVisible());
}

TEST(WidgetEvents, EnterInTheShortCodeBoxSelectsTheTeacher)
{
    SchoolWindow w;
    auto* jm = w.child<QLineEdit>("txtJm");
    jm->setFocus();
    QTest::keyClicks(jm, QStringLiteral("ln"));
    EXPECT_EQ(w.C->control().surface().txtJm.Text, QStringLiteral("ln"));
    EXPECT_EQ(w.combo("cmbJs")->currentIndex(), -1);
    QTest::keyClick(jm, Qt::Key_Return);
    EXPECT_EQ(w.combo("cmbJs")->currentText(), QStringLiteral("李娜"));
    // 李娜 teaches 高一(2)班 on Monday period 1.
    EXPECT_TRUE(SchoolWindow::showsDarkPixels(w.cell(kTeacher, 1, 1)));
}

TEST(WidgetEvents, TheCheckBoxesAndTheDeleteButtonReachTheControl)
{
    SchoolWindow w;
    chooseClassOne(w);
    auto* chkJs = w.child<QCheckBox>("chkJs");
    ASSERT_TRUE(chkJs->isChecked());
    QTest::mouseClick(chkJs, Qt::LeftButton, Qt::NoModifier, QPoint(4, chkJs->height() / 2));
    EXPECT_EQ(w.C->control().surface().chkJs.Value, 0);

    rightClick(w.cell(kClass, 2, 4)); // 物理 on Tuesday period 4
    QTest::mouseClick(w.child<QPushButton>("cmdDelBj"), Qt::LeftButton);
    EXPECT_TRUE(w.db.rows("select id from kcb where id='l12'").isEmpty());
    EXPECT_FALSE(SchoolWindow::showsDarkPixels(w.cell(kClass, 2, 4)));
}

TEST(WidgetEvents, AFailingFillShowsTheWarningBoxWithTheHostDisabledUntilAnswered)
{
    bool failGrids = false;
    SchoolWindow w([&](Connection& c) {
        c.setFaultHook([&](const TraceEntry& entry) {
            if (failGrids && entry.text.contains(QStringLiteral("from kcb left join")))
                throw DbError(QStringLiteral("磁盘 I/O 错误"));
        });
    });
    failGrids = true;

    BoxWatcher watcher(w);
    auto* jm = w.child<QLineEdit>("txtJm");
    QTest::keyClicks(jm, QStringLiteral("ln"));
    QTest::keyClick(jm, Qt::Key_Return);

    EXPECT_EQ(watcher.boxes, 1);
    EXPECT_EQ(watcher.title, QStringLiteral("警告"));
    EXPECT_EQ(watcher.icon, QMessageBox::Information);
    EXPECT_TRUE(watcher.text.contains(QStringLiteral("磁盘 I/O 错误"))) << watcher.text.toStdString();
    EXPECT_FALSE(watcher.hostEnabledMeanwhile);
    EXPECT_TRUE(watcher.boxEnabled);
    EXPECT_EQ(watcher.pointerMeanwhile, 11);
    // Answered: the host takes input again with the normal pointer.
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(WidgetEvents, AnErrorTheControlDoesNotHandleIsShownAndTheWindowGoesOn)
{
    bool failPlans = false;
    SchoolWindow w([&](Connection& c) {
        c.setFaultHook([&](const TraceEntry& entry) {
            if (failPlans && entry.text.contains(QStringLiteral(") as pp ")))
                throw DbError(QStringLiteral("连接已断开"));
        });
    });
    QStringList reported;
    QObject::connect(w.C, &QxMavoWinWidget::unhandledError, [&](const QString& d) { reported << d; });
    failPlans = true;
    {
        BoxWatcher watcher(w);
        // The first entry: one choice (陈静 teaches 语文 there on Monday period 1).
        w.chooseByKeys("cmbBj", QStringLiteral("初一(1)班"));
        EXPECT_EQ(watcher.boxes, 1);
        EXPECT_EQ(watcher.icon, QMessageBox::Critical);
        EXPECT_TRUE(watcher.text.contains(QStringLiteral("连接已断开")));
        EXPECT_TRUE(watcher.hostEnabledMeanwhile);
    }
    EXPECT_EQ(reported.size(), 1);
    // The grid was filled before the plan list failed, and stays so.
    EXPECT_TRUE(SchoolWindow::showsDarkPixels(w.cell(kClass, 1, 1)));
    failPlans = false;
    rightClick(w.cell(kClass, 1, 1));
    EXPECT_EQ(SchoolWindow::shownBackColor(w.cell(kClass, 1, 1)), screenColor(color::AnalysedLesson));
}

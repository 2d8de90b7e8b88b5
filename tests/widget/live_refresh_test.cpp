// Live refresh in the widget and the test host: another connection's change
// shows on screen with no event of the user, and the host's history panel
// lists the changes and leads to their lessons.

#include "school_window.h"

#include "state/colors.h"
#include "support/drive_process.h"
#include "ui/cell_widget.h"

#include <QSqlQuery>
#include <QTreeWidget>

#include "host/history_panel.h"

namespace {

constexpr Side kClass = Side::Class;

// What the cell's widget draws from: the surface's label behind it.
QString captionOf(QWidget* cell) { return static_cast<qxui::CellWidget*>(cell)->label().Caption; }

} // namespace

TEST(WidgetLiveRefresh, AnotherConnectionsChangeShowsUntilSwitchedOff)
{
    SchoolWindow w;
    w.chooseByKeys("cmbBj", QStringLiteral("高一(1)班"));
    ASSERT_TRUE(w.C->control().LiveRefresh());
    ASSERT_TRUE(captionOf(w.cell(kClass, 5, 6)).isEmpty());
    QSqlQuery other(w.db.openSecond());
    ASSERT_TRUE(other.exec("update kcb set 星期=5, 课节=6 where id='l01'")); // 张伟's 语文, Monday 1
    QTRY_VERIFY_WITH_TIMEOUT(captionOf(w.cell(kClass, 5, 6)).contains(QStringLiteral("张伟")), 2000);
    EXPECT_TRUE(captionOf(w.cell(kClass, 1, 1)).isEmpty());

    w.C->control().SetLiveRefresh(false);
    ASSERT_TRUE(other.exec("update kcb set 星期=1, 课节=1 where id='l01'"));
    QTest::qWait(1000);
    EXPECT_TRUE(captionOf(w.cell(kClass, 1, 1)).isEmpty());
}

TEST(WidgetLiveRefresh, TheHostsHistoryListsChangesAndADoubleClickShowsTheLesson)
{
    SchoolForm form([](FrmKbTz& f) { f.resize(f.sizeHint()); }); // as frmKbTz starts
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTreeWidget* entries = form.history()->entries();
    EXPECT_EQ(entries->topLevelItemCount(), 0);

    // Another desk, a process of its own, moves 张伟's 语文 away and back;
    // the first entry is selected when the other two come.
    DriveProcess desk(form.db.driveArguments());
    auto edit = [&](const char* line) { EXPECT_TRUE(desk.run(line).value("ok").toBool()) << line; };
    for (const char* line :
         {"ini 2005-2006 2 课表 1", "desk desk 2", "pick cmbBj 1", "rclick 班级 1 1", "dragcell 班级 1 1 班级 3 6"})
        edit(line);
    QTRY_COMPARE_WITH_TIMEOUT(entries->topLevelItemCount(), 1, 2000);
    entries->setCurrentItem(entries->topLevelItem(0));
    edit("rclick 班级 3 6");
    edit("dragcell 班级 3 6 班级 1 1");
    edit("rclick 班级 1 2");
    edit("dragcell 班级 1 2 班级 3 6");
    QTRY_COMPARE_WITH_TIMEOUT(entries->topLevelItemCount(), 3, 2000);
    auto rows = [&] { return topLevelTexts(entries, 1, entries->columnCount() - 1); };
    const QStringList all = {QStringLiteral("移动|数学|高一(1)班|李娜|星期一第2节 → 星期三第6节|desk 2"),
                             QStringLiteral("移动|语文|高一(1)班|张伟|星期三第6节 → 星期一第1节|desk 2"),
                             QStringLiteral("移动|语文|高一(1)班|张伟|星期一第1节 → 星期三第6节|desk 2")};
    EXPECT_EQ(rows(), all);
    EXPECT_EQ(entries->selectedItems(), QList<QTreeWidgetItem*>{entries->topLevelItem(2)});

    // Only the rows of the class or the teacher on screen, when asked.
    form.history()->setFilter(HistoryPanel::Filter::ChosenClass);
    EXPECT_EQ(rows(), QStringList());
    chooseEntry(form, "cmbBj", QStringLiteral("高一(1)班"));
    QCoreApplication::processEvents();
    EXPECT_EQ(rows(), all);
    form.history()->setFilter(HistoryPanel::Filter::ChosenTeacher);
    chooseEntry(form, "cmbJs", QStringLiteral("张伟"));
    QCoreApplication::processEvents();
    EXPECT_EQ(rows(), all.mid(1));
    form.history()->setFilter(HistoryPanel::Filter::All);

    QTreeWidgetItem* entry = entries->topLevelItem(1);
    ASSERT_TRUE(entries->viewport()->rect().contains(entries->visualItemRect(entry).center()));
    doubleClick(entries, entry);
    QX_MavoWin& c = form.C()->control();
    EXPECT_EQ(c.surface().cmbBj.Text(), QStringLiteral("高一(1)班"));
    EXPECT_EQ(c.cell(kClass, 1, 0).BackColor, color::AnalysedLesson); // 语文 back on Monday 1
    EXPECT_EQ(form.history()->note(), QString());

    QSqlQuery other(form.db.openSecond());
    ASSERT_TRUE(other.exec("delete from kcb where id='l01'"));
    doubleClick(entries, entry);
    EXPECT_EQ(form.history()->note(), QStringLiteral("这节课已不在课表中。"));
}

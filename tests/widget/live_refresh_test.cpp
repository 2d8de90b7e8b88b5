// Live refresh in the widget and the test host: another connection's change
// shows on screen with no event of the user, and the host's history panel
// lists the changes and leads to their lessons.

#include "school_window.h"

#include "control/colors.h"
#include "ui/surface_widgets.h"

#include <QSqlQuery>
#include <QTreeWidget>

#ifdef KBTZ_HAVE_HOST_FORM
#include "host/frm_kbtz.h"
#include "host/history_panel.h"
#endif

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

#ifdef KBTZ_HAVE_HOST_FORM
TEST(WidgetLiveRefresh, TheHostsHistoryListsChangesAndADoubleClickShowsTheLesson)
{
    TempDb db;
    loadSchool(db);
    FrmKbTz form;
    form.load(db.db());
    form.resize(form.sizeHint()); // as frmKbTz starts
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTreeWidget* entries = form.history()->entries();
    EXPECT_EQ(entries->topLevelItemCount(), 0);

    QSqlQuery other(db.openSecond()); // another desk's edit, as its control logs it
    ASSERT_TRUE(other.exec("insert into kcb_log (desk,xn_id,step,kind,kcb_id,jxjh_id,before_day,before_period,"
                           "after_day,after_period) values ('desk 2','xn1','edit','move','l01','j1',5,6,1,1)"));
    ASSERT_TRUE(other.exec("update kcb set 星期=1, 课节=1 where id='l01'"));
    QTRY_COMPARE_WITH_TIMEOUT(entries->topLevelItemCount(), 1, 2000);
    QStringList shown;
    for (int column = 1; column < entries->columnCount(); ++column)
        shown << entries->topLevelItem(0)->text(column);
    EXPECT_EQ(shown.join(u'|'), QStringLiteral("移动|语文|高一(1)班|张伟|星期五第6节 → 星期一第1节|desk 2"));

    const QRect entry = entries->visualItemRect(entries->topLevelItem(0));
    ASSERT_TRUE(entries->viewport()->rect().contains(entry.center()));
    // A double click as the item view takes it: the press of the first click, then the second.
    auto doubleClick = [&] {
        QTest::mouseClick(entries->viewport(), Qt::LeftButton, Qt::NoModifier, entry.center());
        QTest::mouseDClick(entries->viewport(), Qt::LeftButton, Qt::NoModifier, entry.center());
    };
    doubleClick();
    QX_MavoWin& c = form.C()->control();
    EXPECT_EQ(c.surface().cmbBj.Text(), QStringLiteral("高一(1)班"));
    EXPECT_EQ(c.cell(kClass, 1, 0).BackColor, color::AnalysedLesson);
    EXPECT_EQ(form.history()->note(), QString());

    ASSERT_TRUE(other.exec("delete from kcb where id='l01'"));
    doubleClick();
    EXPECT_EQ(form.history()->note(), QStringLiteral("这节课已不在课表中。"));
}
#endif

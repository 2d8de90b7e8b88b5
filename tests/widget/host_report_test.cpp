// The test host's conflicts panel and printing, as a user works them.
#include "school_window.h"

#include "adjust/chain_offer.h"
#include "state/colors.h"
#include "state/surface.h"
#include "state/tag.h"
#include "host/chains_panel.h"
#include "host/conflicts_panel.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {

// The lessons whose cells show the analysed colour, by id, in both grids.
QStringList analysedLessons(QX_MavoWin& control)
{
    QStringList ids;
    for (GridSurface* grid : {&control.surface().classGrid, &control.surface().teacherGrid})
        for (int d = 1; d <= 7; ++d)
            for (int i = 0; i < grid->column(d).Count(); ++i)
                if (grid->column(d)[i].BackColor == color::AnalysedLesson)
                    ids << CellTag::idOf(grid->column(d)[i].Tag);
    return ids;
}

QTreeWidgetItem* lessonItem(QTreeWidget* list, const QString& course, const QString& teacher)
{
    for (QTreeWidgetItem* item : list->findItems(course, Qt::MatchExactly | Qt::MatchRecursive))
        if (item->text(2) == teacher)
            return item;
    return nullptr;
}

} // namespace

// 高一(1)班 gets 物理 (刘洋) on Monday 1, beside 语文 (张伟) and where 物理 may
// not go; the user has narrowed the class selector to 初中 when checking.
TEST(HostConflicts, PanelListsTheKindsAndADoubleClickAnalysesThatLesson)
{
    SchoolData data;
    data.db.exec("update kcb set 星期=1, 课节=1 where id='l12'");
    FrmKbTz form;
    form.load(data.db.db());
    form.show();
    chooseEntry(*form.C(), "cmbJb", QStringLiteral("初中"));
    chooseEntry(*form.C(), "cmbNj", QStringLiteral("初一"));

    form.conflicts()->refresh();
    QTreeWidget* list = form.conflicts()->list();
    ASSERT_TRUE(form.conflicts()->isVisible());
    EXPECT_EQ(topLevelTexts(list), (QStringList{"班级冲突（1）", "不排课节（1）", "剩余课时（8）"}));

    const struct {
        const char* course;
        const char* teacher;
        const char* lesson;
    } lessons[] = {{"物理", "刘洋", "l12"}, {"语文", "张伟", "l01"}};
    // The two share the class's cell: one is analysed there, the other in its teacher's week.
    for (const auto& l : lessons) {
        QTreeWidgetItem* item = lessonItem(list, QString::fromUtf8(l.course), QString::fromUtf8(l.teacher));
        ASSERT_NE(item, nullptr) << l.lesson;
        doubleClick(list, item);
        auto* classes = form.C()->findChild<QComboBox*>(QStringLiteral("cmbBj"));
        auto* teachers = form.C()->findChild<QComboBox*>(QStringLiteral("cmbJs"));
        EXPECT_EQ(classes->currentText(), QStringLiteral("高一(1)班")) << l.lesson;
        EXPECT_EQ(teachers->currentText(), QString::fromUtf8(l.teacher)) << l.lesson;
        EXPECT_EQ(analysedLessons(form.C()->control()), QStringList{QString::fromLatin1(l.lesson)});
    }
}

// The panel stays open while the user works: a drop onto a forbidden period
// shows up in it, its undo takes the entry away again, and the branch the
// user opened stays open with its selected entry.
TEST(HostConflicts, PanelFollowsEditsAndUndoKeepingWhatTheUserOpened)
{
    SchoolForm form;
    chooseEntry(*form.C(), "cmbBj", QStringLiteral("高一(1)班"));
    form.conflicts()->refresh();
    QTreeWidget* list = form.conflicts()->list();
    ASSERT_EQ(topLevelTexts(list), QStringList{"剩余课时（8）"});
    QTreeWidgetItem* hours = list->topLevelItem(0);
    hours->setExpanded(true);
    QTreeWidgetItem* chinese =
        lessonItem(list, QStringLiteral("语文（每周 5 课时，已排 4 节，剩余 1 课时）"), QStringLiteral("张伟"));
    ASSERT_NE(chinese, nullptr);
    list->setCurrentItem(chinese);

    // 张伟's 语文 from Monday 1 onto Friday 7, one of his forbidden periods.
    QX_MavoWin& c = form.C()->control();
    QTest::mouseClick(form.C()->cellWidget(Side::Class, 1, 0), Qt::RightButton);
    c.cellDragOver(Side::Class, 1, 0);
    c.cellDragOver(Side::Class, 5, 6);
    c.cellDragDrop(Side::Class, 5, 6);
    QTRY_COMPARE(topLevelTexts(list), (QStringList{"不排课节（1）", "剩余课时（8）"}));
    EXPECT_TRUE(list->topLevelItem(1)->isExpanded());
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->text(0), QStringLiteral("语文（每周 5 课时，已排 4 节，剩余 1 课时）"));
    EXPECT_TRUE(list->currentItem()->isSelected());

    form.C()->undoAction()->trigger();
    QTRY_COMPARE(topLevelTexts(list), QStringList{"剩余课时（8）"});
}

// The action of an entry of a submenu of the host's 文件 menu.
QAction* fileMenuAction(FrmKbTz& form, const QString& submenu, const QString& entry)
{
    for (QMenu* menu : form.findChildren<QMenu*>())
        if (menu->title() == submenu)
            for (QAction* action : menu->actions())
                if (action->text() == entry)
                    return action;
    return nullptr;
}

// Export proposes a name after the choice and says what it wrote; 打印
// shows the pages in a preview first.
TEST(HostExport, ExportNamesItsFileAfterTheChoiceAndPrintingPreviewsThePages)
{
    SchoolForm form;
    chooseEntry(*form.C(), "cmbBj", QStringLiteral("高一(1)班"));
    QTemporaryDir dir;
    const QString written = dir.filePath(QStringLiteral("week.pdf"));
    QString proposed;
    int previewPages = -1;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            proposed = QFileInfo(files->selectedFiles().value(0)).fileName();
            // Typed, as a user would: selectFile() goes through the folder
            // model, which may still be loading and then keeps the proposal.
            files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(written);
            QMetaObject::invokeMethod(files, "accept");
        } else if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
            previewPages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
            preview->reject();
        }
    });
    answer.start(10);
    fileMenuAction(form, QStringLiteral("导出(&E)"), QStringLiteral("当前班级(&B)"))->trigger();
    EXPECT_EQ(proposed, QStringLiteral("高一(1)班 课表.pdf"));
    EXPECT_TRUE(QFileInfo(written).isFile());
    EXPECT_EQ(form.C()->control().surface().statusText.value(),
              QStringLiteral("已导出 1 页：") + QDir::toNativeSeparators(written));
    EXPECT_EQ(form.C()->findChild<QLabel*>(QStringLiteral("labStatus"))->text(),
              form.C()->control().surface().statusText.value());

    fileMenuAction(form, QStringLiteral("打印(&P)"), QStringLiteral("全部班级(&A)"))->trigger();
    EXPECT_EQ(previewPages, 3);
}

// A drop on a blocked cell lists the chains in 调课方案; a double click on
// the second applies that one, and the list empties.
TEST(HostChains, PanelListsTheChainsAndADoubleClickAppliesOne)
{
    SchoolForm form;
    chooseEntry(*form.C(), "cmbJb", QStringLiteral("高中"));
    chooseEntry(*form.C(), "cmbNj", QStringLiteral("高一"));
    chooseEntry(*form.C(), "cmbBj", QStringLiteral("高一(1)班"));
    QX_MavoWin& c = form.C()->control();
    c.cellClick(Side::Class, 1, 0); // 语文 of 张伟 (l01)
    c.cellDragOver(Side::Class, 1, 0);
    c.cellDragDrop(Side::Class, 1, 2); // Monday 3: 张伟 teaches 高一(2)班 then
    form.C()->syncFromSurface();
    QTreeWidget* list = form.chains()->entries();
    ASSERT_GE(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItemCount(), static_cast<int>(c.chainOffer().chains.size()));
    EXPECT_TRUE(
        list->topLevelItem(0)->text(1).startsWith(QStringLiteral("3 节：语文 高一(1)班 星期一第1节→星期一第3节")))
        << list->topLevelItem(0)->text(1).toStdString();
    const Chain second = c.chainOffer().chains[1];

    doubleClick(list, list->topLevelItem(1));
    QCoreApplication::processEvents();
    for (const ChainMove& m : second.moves)
        EXPECT_EQ(form.db.rows(QStringLiteral("select 星期, 课节 from kcb where id='%1'").arg(m.lessonId)),
                  QStringList{QStringLiteral("%1|%2").arg(m.to.weekday).arg(m.to.period)});
    EXPECT_EQ(list->topLevelItemCount(), 0);
}

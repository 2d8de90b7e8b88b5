// The test host's conflicts panel and printing, as a user works them.
#ifdef KBTZ_HAVE_HOST_FORM
#include "school_window.h"

#include "adjust/chain_offer.h"
#include "control/colors.h"
#include "control/tag.h"
#include "host/chains_panel.h"
#include "host/conflicts_panel.h"
#include "host/frm_kbtz.h"

#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {

void choose(FrmKbTz& form, const char* selector, const QString& entry)
{
    auto* box = form.C()->findChild<QComboBox*>(QString::fromLatin1(selector));
    const int index = box->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// The lessons whose cells show the analysed colour, by id, in both grids.
QStringList analysedLessons(QX_MavoWin& control)
{
    QStringList ids;
    for (GridSurface* grid : {&control.surface().classGrid, &control.surface().teacherGrid})
        for (int d = 1; d <= 7; ++d)
            for (int i = 0; i < grid->column(d).Count(); ++i)
                if (grid->column(d)[i].BackColor == color::AnalysedLesson)
                    ids << tag::field(grid->column(d)[i].Tag, 0);
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
    TempDb db;
    loadSchool(db);
    db.exec("update kcb set 星期=1, 课节=1 where id='l12'");
    FrmKbTz form;
    form.load(db.db());
    form.show();
    choose(form, "cmbJb", QStringLiteral("初中"));
    choose(form, "cmbNj", QStringLiteral("初一"));

    form.conflicts()->refresh();
    QTreeWidget* list = form.conflicts()->list();
    ASSERT_TRUE(form.conflicts()->isVisible());
    QStringList groups;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        groups << list->topLevelItem(i)->text(0);
    EXPECT_EQ(groups, (QStringList{"班级冲突（1）", "不排课节（1）", "剩余课时（8）"}));

    const struct {
        const char* course;
        const char* teacher;
        const char* lesson;
    } lessons[] = {{"物理", "刘洋", "l12"}, {"语文", "张伟", "l01"}};
    // The two share the class's cell: one is analysed there, the other in its teacher's week.
    for (const auto& l : lessons) {
        QTreeWidgetItem* item = lessonItem(list, QString::fromUtf8(l.course), QString::fromUtf8(l.teacher));
        ASSERT_NE(item, nullptr) << l.lesson;
        // A user's double click: a click, then the second press.
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        auto* classes = form.C()->findChild<QComboBox*>(QStringLiteral("cmbBj"));
        auto* teachers = form.C()->findChild<QComboBox*>(QStringLiteral("cmbJs"));
        EXPECT_EQ(classes->currentText(), QStringLiteral("高一(1)班")) << l.lesson;
        EXPECT_EQ(teachers->currentText(), QString::fromUtf8(l.teacher)) << l.lesson;
        EXPECT_EQ(analysedLessons(form.C()->control()), QStringList{QString::fromLatin1(l.lesson)});
    }
}

// A drop on a blocked cell lists the chains in 调课方案; a double click on
// the second applies that one, and the list empties.
TEST(HostChains, PanelListsTheChainsAndADoubleClickAppliesOne)
{
    TempDb db;
    loadSchool(db);
    FrmKbTz form;
    form.load(db.db());
    form.show();
    choose(form, "cmbJb", QStringLiteral("高中"));
    choose(form, "cmbNj", QStringLiteral("高一"));
    choose(form, "cmbBj", QStringLiteral("高一(1)班"));
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

    const QPoint at = list->visualItemRect(list->topLevelItem(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCoreApplication::processEvents();
    for (const ChainMove& m : second.moves)
        EXPECT_EQ(db.rows(QStringLiteral("select 星期, 课节 from kcb where id='%1'").arg(m.lessonId)),
                  QStringList{QStringLiteral("%1|%2").arg(m.to.weekday).arg(m.to.period)});
    EXPECT_EQ(list->topLevelItemCount(), 0);
}

TEST(HostConflicts, AllClassesPrintOnAPrinterOnePageEach)
{
    TempDb db;
    loadSchool(db);
    FrmKbTz form;
    form.load(db.db());
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    form.C()->printTimetables(printer, ExportSelection{true, {}, false, {}});
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {printer.outputFileName()});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+3\\n")));
}
#endif

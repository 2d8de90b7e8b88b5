// The test host frmKbTz as a user starts it.

#include "school_window.h"

#include "host/qt_translations.h"
#include "state/colors.h"
#include "support/tool_run.h"
#include "ui/twips.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTranslator>

namespace {

// The host run at a scale factor; it inherits the offscreen platform the
// tests run on.
ToolRun runHost(const QStringList& args, int scaleFactor = 1)
{
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scaleFactor));
    const ToolRun host = runTool("frmKbTz", args);
    qunsetenv("QT_SCALE_FACTOR");
    return host;
}

// Pixels close to black inside a class-grid cell of the host's window (the
// control fills the window below the menu bar, from its left edge; its
// design size reaches 9660 twips down, the status line included).
int darkPixels(const QImage& image, const qxui::TwipScale& s, int weekday, int period, int factor)
{
    const int menuBar = image.height() / factor - s.px(9660);
    const QRect r = s.rect(1110 + 900 * (weekday - 1), 1230 + (period - 1) * 776, 885, 756).translated(0, menuBar);
    int dark = 0;
    for (int y = r.top() * factor + factor; y < (r.bottom() - 1) * factor; ++y)
        for (int x = r.left() * factor + factor; x < (r.right() - 1) * factor; ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    return dark;
}

} // namespace

TEST(TestHost, ScreenshotShowsTheChosenClassWeekAtOneAndTwoTimesScale)
{
    SchoolData school;
    QTemporaryDir dir;
    QWidget probe; // same platform, same logical DPI as the host has
    const qxui::TwipScale s(probe.logicalDpiX());
    QSize size1;
    for (int factor : {1, 2}) {
        SCOPED_TRACE(factor);
        const QString png = dir.filePath(QStringLiteral("host%1.png").arg(factor));
        // Entry 1 of the class selector, sorted by name: 高一(1)班.
        QStringList args{"--db", school.db.path(), "--pick-class", "1", "--screenshot", png};
        // The doubled screen has half the room: the window keeps the size it had.
        if (factor == 2)
            args << "--size" << QStringLiteral("%1x%2").arg(size1.width()).arg(size1.height());
        const ToolRun host = runHost(args, factor);
        ASSERT_EQ(host.exitCode, 0) << host.out.toStdString();
        const QImage image(png);
        size1 = factor == 1 ? image.size() : size1;
        EXPECT_EQ(image.size(), size1 * factor);
        EXPECT_GT(darkPixels(image, s, 1, 1, factor), 20 * factor * factor); // 张伟 语文
        EXPECT_EQ(darkPixels(image, s, 6, 1, factor), 0);                    // nothing on Saturday
    }
}

TEST(TestHost, AMissingDatabaseEndsStartUpWithAClearErrorAndCreatesNoFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("qx_lm.db"));
    const ToolRun host = runHost({"--db", missing, "--screenshot", dir.filePath("x.png")});
    EXPECT_GT(host.exitCode, 0);
    EXPECT_TRUE(host.out.contains(missing)) << host.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.png")));
}

// Qt's own dialogs speak the window's language.
TEST(TestHost, QtsFileDialogIsInChinese)
{
    const QLocale before;
    QTranslator* qt = installQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(qt, nullptr);
    {
        QFileDialog dialog(nullptr, QStringLiteral("导出课表"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.show();
        keepPicture(dialog, QStringLiteral("file-dialog"));
        auto* lookIn = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"));
        ASSERT_NE(lookIn, nullptr);
        EXPECT_NE(lookIn->text(), QStringLiteral("Look in:"));
        EXPECT_TRUE(lookIn->text().contains(QRegularExpression(QStringLiteral("\\p{Han}"))))
            << qPrintable(lookIn->text());
    }
    QCoreApplication::removeTranslator(qt);
    delete qt;
    QLocale::setDefault(before);
}

// The form carries the usage hint and starts its control late bound. The
// database lost under it (here closed; on a server, a restart): the action
// says so, the host shows "正在重新连接数据库…" while it opens the database
// again, and then the control works again on the same week.
TEST(TestHost, FormStartsItsControlLateBoundAndOpensALostConnectionAgainSayingSo)
{
    SchoolForm form;
    EXPECT_EQ(form.windowTitle(),
              QStringLiteral(
                  "课表调整（点击鼠标右键，系统将会分析出可用于调整的位置，并可分析出另一测课表；按住左键托动要进行"
                  "调整的课表到目标处放下，完成调整。）"));
    QX_MavoWin& control = form.C()->control();
    EXPECT_EQ(control.session().XnId.toString(), QStringLiteral("xn1"));
    // The widgets show what the late-bound call built.
    EXPECT_NE(form.C()->cellWidget(Side::Teacher, 7, 7), nullptr);
    control.surface().cmbBj.setListIndex(1);
    const QString shown = control.cell(Side::Class, 1, 0).Tag;
    ASSERT_FALSE(shown.isEmpty());
    auto* note = form.findChild<QLabel*>(QStringLiteral("reconnectNote"));
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->isVisible());

    QSqlDatabase conn = form.db.db();
    conn.close();
    QStringList messages;
    QTimer boxes;
    answerBoxes(boxes, [&](QMessageBox* box) { messages << box->text(); });
    QTest::mouseClick(form.C()->cellWidget(Side::Class, 1, 0), Qt::RightButton);
    EXPECT_EQ(messages.value(0), QStringLiteral("数据库连接已关闭"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return note->isVisible(); }, 2000));
    EXPECT_EQ(note->text(), QStringLiteral("正在重新连接数据库…"));
    keepPicture(form, QStringLiteral("host-reconnecting"));

    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.reconnecting(); }, 5000));
    EXPECT_FALSE(note->isVisible());
    EXPECT_FALSE(control.ConnectionLost());
    EXPECT_EQ(control.cell(Side::Class, 1, 0).Tag, shown);
    messages.clear();
    QTest::mouseClick(form.C()->cellWidget(Side::Class, 1, 0), Qt::RightButton);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
    EXPECT_EQ(control.cell(Side::Class, 1, 0).BackColor, color::AnalysedLesson);
}

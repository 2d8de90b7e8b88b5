// The test host frmKbTz as a user starts it: on a database file, rendering
// its window to a PNG; and refusing to start without its database.

#include "school_window.h"

#include "test_paths.h"
#include "ui/twips.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct HostRun {
    int exitCode = -1;
    QString out, err;
};

HostRun runHost(const QStringList& args, const QString& scaleFactor = QString())
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!scaleFactor.isEmpty())
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), scaleFactor);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KBTZ_BIN_DIR "/frmKbTz"), args);
    HostRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A class-grid cell of the host's window, in logical pixels: the control
// fills the window from its top-left corner.
QRect classCell(const qxui::TwipScale& s, int weekday, int period)
{
    return s.rect(60 + 1020 + 30 + 900 * (weekday - 1), 60 + 1050 + 120 + (period - 1) * 776, 885, 756);
}

struct Pixels {
    int dark = 0;
    int light = 0;
    bool flat = true;
};

Pixels look(const QImage& image, const QRect& area)
{
    Pixels p;
    const QRgb first = image.pixel(area.topLeft());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            p.flat = p.flat && c == first;
            if (qGray(c) < 100)
                ++p.dark;
            else if (qGray(c) > 230)
                ++p.light;
        }
    }
    return p;
}

QRect scaled(const QRect& r, int factor) { return {r.topLeft() * factor, r.size() * factor}; }

} // namespace

TEST(TestHost, ScreenshotShowsTheChosenClassWeekAtOneAndTwoTimesScale)
{
    TempDb db;
    loadSchool(db);
    QTemporaryDir dir;
    const QString png1 = dir.filePath(QStringLiteral("host1.png"));
    const QString png2 = dir.filePath(QStringLiteral("host2.png"));
    // Entry 1 of the class selector, sorted by name: 高一(1)班.
    const QStringList args{QStringLiteral("--db"), db.path(), QStringLiteral("--pick-class"), QStringLiteral("1")};

    const HostRun one = runHost(args + QStringList{QStringLiteral("--screenshot"), png1});
    ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
    EXPECT_EQ(one.out.trimmed(), QFileInfo(png1).absoluteFilePath());
    const QImage image(png1);
    ASSERT_FALSE(image.isNull());

    // Same platform, same logical DPI as the host had.
    QWidget probe;
    const qxui::TwipScale s(probe.logicalDpiX());
    const Pixels lesson = look(image, classCell(s, 1, 1));  // 张伟 语文
    const Pixels free = look(image, classCell(s, 6, 1));    // nothing on Saturday
    EXPECT_GT(lesson.dark, 20) << "no text in the Monday cell";
    EXPECT_GT(lesson.light, lesson.dark);
    EXPECT_TRUE(free.flat);
    EXPECT_EQ(free.dark, 0);
    EXPECT_FALSE(look(image, classCell(s, 1, 1).united(classCell(s, 7, 8))).flat);

    // At 200 % the window is twice as large and draws the same week.
    const HostRun two = runHost(args + QStringList{QStringLiteral("--screenshot"), png2}, QStringLiteral("2"));
    ASSERT_EQ(two.exitCode, 0) << two.err.toStdString();
    const QImage doubled(png2);
    ASSERT_EQ(doubled.size(), image.size() * 2);
    EXPECT_GT(look(doubled, scaled(classCell(s, 1, 1), 2)).dark, 4 * 20);
    EXPECT_TRUE(look(doubled, scaled(classCell(s, 6, 1), 2).adjusted(2, 2, -2, -2)).flat);
}

TEST(TestHost, AMissingDatabaseEndsStartUpWithAClearErrorAndCreatesNoFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("qx_lm.db"));
    const HostRun r = runHost({QStringLiteral("--db"), missing, QStringLiteral("--screenshot"), dir.filePath("x.png")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.exitCode, -1) << "crashed or hung";
    EXPECT_TRUE(r.err.contains(missing)) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.png")));
}

TEST(TestHost, ADatabaseWithoutTheTimetableStillOpensTheWindow)
{
    TempDb db; // the schema, no rows
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("empty.png"));
    const HostRun r = runHost({QStringLiteral("--db"), db.path(), QStringLiteral("--screenshot"), png});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(QImage(png).isNull());
}

#ifdef KBTZ_HAVE_HOST_FORM
#include "host/frm_kbtz.h"

TEST(TestHostForm, CarriesTheUsageHintAndStartsItsControlLateBound)
{
    TempDb db;
    loadSchool(db);
    FrmKbTz form;
    EXPECT_EQ(form.windowTitle(),
              QStringLiteral("课表调整（点击鼠标右键，系统将会分析出可用于调整的位置，并可分析出另一测课表；按住左键托动要进行"
                             "调整的课表到目标处放下，完成调整。）"));
    ASSERT_EQ(form.findChild<QxMavoWinWidget*>(QStringLiteral("C")), form.C());
    form.load(db.db());
    QX_MavoWin& control = form.C()->control();
    EXPECT_EQ(control.context().HostForm, static_cast<const HostWindow*>(&form));
    EXPECT_EQ(control.context().SchoolYear, QStringLiteral("2005-2006"));
    EXPECT_EQ(control.context().Term, QStringLiteral("2"));
    EXPECT_EQ(control.context().ScheduleName, QStringLiteral("课表"));
    EXPECT_EQ(control.context().DataType, 1);
    EXPECT_EQ(control.context().XnId.toString(), QStringLiteral("xn1"));
}
#endif

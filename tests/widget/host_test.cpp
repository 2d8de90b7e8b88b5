// The test host frmKbTz as a user starts it, and QxIni called late-bound by
// its member id, as the host and other hosts that know only the id call it.

#include "school_window.h"

#include "store/control_error.h"
#include "test_paths.h"
#include "ui/twips.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The host's exit code, or -1 when it crashed or hung; stderr into err.
int runHost(const QStringList& args, QString* err = nullptr, const QByteArray& scaleFactor = "1")
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scaleFactor));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KBTZ_BIN_DIR "/frmKbTz"), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Pixels close to black in a class-grid cell of the host's window (the
// control fills the window from its top-left corner), and whether it is flat.
std::pair<int, bool> look(const QImage& image, const qxui::TwipScale& s, int weekday, int period, int factor)
{
    const QRect r = s.rect(1110 + 900 * (weekday - 1), 1230 + (period - 1) * 776, 885, 756);
    const QRect area(r.topLeft() * factor, r.size() * factor);
    int dark = 0;
    bool flat = true;
    for (int y = area.top() + factor; y < area.bottom() - factor; ++y)
        for (int x = area.left() + factor; x < area.right() - factor; ++x) {
            dark += qGray(image.pixel(x, y)) < 100;
            flat = flat && image.pixel(x, y) == image.pixel(area.topLeft() + QPoint(factor, factor));
        }
    return {dark, flat};
}

} // namespace

TEST(TestHost, ScreenshotShowsTheChosenClassWeekAtOneAndTwoTimesScale)
{
    TempDb db;
    loadSchool(db);
    QTemporaryDir dir;
    QWidget probe; // same platform, same logical DPI as the host has
    const qxui::TwipScale s(probe.logicalDpiX());
    QSize size1;
    for (int factor : {1, 2}) {
        SCOPED_TRACE(factor);
        const QString png = dir.filePath(QStringLiteral("host%1.png").arg(factor));
        // Entry 1 of the class selector, sorted by name: 高一(1)班.
        QString err;
        ASSERT_EQ(runHost({"--db", db.path(), "--pick-class", "1", "--screenshot", png}, &err, QByteArray::number(factor)), 0)
            << err.toStdString();
        const QImage image(png);
        ASSERT_FALSE(image.isNull());
        if (factor == 1)
            size1 = image.size();
        EXPECT_EQ(image.size(), size1 * factor);
        EXPECT_GT(look(image, s, 1, 1, factor).first, 20 * factor * factor); // 张伟 语文
        EXPECT_TRUE(look(image, s, 6, 1, factor).second);                   // nothing on Saturday
    }
}

TEST(TestHost, AMissingDatabaseEndsStartUpWithAClearErrorAndCreatesNoFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("qx_lm.db"));
    QString err;
    const int code = runHost({"--db", missing, "--screenshot", dir.filePath("x.png")}, &err);
    EXPECT_GT(code, 0);
    EXPECT_TRUE(err.contains(missing)) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.png")));
}

#ifdef KBTZ_HAVE_HOST_FORM
#include "host/frm_kbtz.h"

TEST(TestHost, FormCarriesTheUsageHintAndStartsItsControlLateBound)
{
    TempDb db;
    loadSchool(db);
    FrmKbTz form;
    EXPECT_EQ(form.windowTitle(),
              QStringLiteral("课表调整（点击鼠标右键，系统将会分析出可用于调整的位置，并可分析出另一测课表；按住左键托动要进行"
                             "调整的课表到目标处放下，完成调整。）"));
    form.load(db.db());
    EXPECT_EQ(form.C()->control().context().HostForm, static_cast<const HostWindow*>(&form));
    EXPECT_EQ(form.C()->control().context().XnId.toString(), QStringLiteral("xn1"));
    // The widgets show what the late-bound call built.
    EXPECT_NE(form.C()->cellWidget(QStringLiteral("教师"), 7, 7), nullptr);
}
#endif

// The host window may come as the host's own object; a window that is no
// host window is a type mismatch.
TEST(LateBoundQxIni, TakesTheHostsOwnObjectAndRefusesAWindowThatIsNoHostWindow)
{
    SchoolWindow host;
    QWidget notAHost;
    for (QWidget* form : {static_cast<QWidget*>(&host), &notAHost}) {
        QxMavoWinWidget control(&host);
        QString error;
        try {
            control.invoke(QX_MavoWin::DispIdQxIni, {QVariant::fromValue(host.db.db()), "2005-2006", "2", "课表", QVariant::fromValue(form), 1});
        } catch (const ControlError& e) {
            error = e.description();
        }
        EXPECT_EQ(error.contains(QStringLiteral("类型不匹配")), form == &notAHost) << error.toStdString();
        EXPECT_EQ(control.control().context().HostForm, form == &host ? static_cast<HostWindow*>(&host) : nullptr);
    }
}

// The one failure path of every user action: the box, the host usable
// again, and a log line that tells a fault of the program from a failing
// database.
#include "state/busy_state.h"
#include "qxmavowin/host_window.h"
#include "control/qx_mavowin.h"
#include "store/control_error.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

QStringList logged;

void keepLog(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QLatin1String(context.category) == QLatin1String("qxmavowin.failure"))
        logged << message;
}

TEST(FailurePath, EachFailureIsShownAndLoggedWithItsKind)
{
    struct Case {
        std::function<void()> fail;
        QString shown, log;
        int style;
        bool unhandled; // reached the host, shown as its last resort
    };
    const std::vector<Case> cases{
        {[] { throw DbError("磁盘已满"); }, "磁盘已满", "database: 磁盘已满", 64, false},
        {[] { throw ProgramError("下标越界：cmbBj 没有当前项（-1）"); }, "程序错误：下标越界：cmbBj 没有当前项（-1）",
         "program: 程序错误：下标越界：cmbBj 没有当前项（-1）", 64, false},
        {[] { throw ControlError("类型不匹配：颜色值“x”不是数字"); }, "类型不匹配：颜色值“x”不是数字",
         "data: 类型不匹配：颜色值“x”不是数字", 64, false},
        {[] { throw std::out_of_range("vector"); }, "vector", "program: vector", 16, true},
    };
    const QtMessageHandler earlier = qInstallMessageHandler(keepLog);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.shown.toStdString());
        QX_MavoWin control;
        HostWindow host;
        control.context().HostForm = &host;
        logged.clear();
        if (k.unhandled) {
            try {
                k.fail();
            } catch (const std::exception& e) {
                showUnhandledError(control.state(), e);
            }
        } else {
            EXPECT_FALSE(runBusy(control.state(), k.fail));
        }
        const auto shown = control.messages().take();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, k.shown);
        EXPECT_EQ(shown[0].style, k.style);
        EXPECT_EQ(shown[0].title, k.unhandled ? QStringLiteral("QX_MavoWin") : QStringLiteral("警告"));
        EXPECT_EQ(logged, QStringList{k.log});
        EXPECT_TRUE(host.Enabled());
        EXPECT_EQ(host.MousePointer(), 0);
    }
    qInstallMessageHandler(earlier);
}

} // namespace

// QxIni called late-bound by its member id, as the test host and other
// hosts that know only the id call it.

#include "school_window.h"

#include "control/surface.h"
#include "store/control_error.h"

#include <gtest/gtest.h>

namespace {

// A host window that passes itself as the object it is.
class PlainHost : public QWidget, public WidgetHostWindow {
public:
    PlainHost() : WidgetHostWindow(this) {}
};

QVariantList iniArguments(const TempDb& db, const QVariant& form)
{
    return {QVariant::fromValue(db.db()), QStringLiteral("2005-2006"), QStringLiteral("2"), QStringLiteral("课表"), form, 1};
}

} // namespace

TEST(LateBoundQxIni, TakesTheHostWindowAsHostWindowOrAsTheHostsOwnObject)
{
    TempDb db;
    loadSchool(db);
    {
        PlainHost host;
        QxMavoWinWidget control(&host);
        control.invoke(QX_MavoWin::DispIdQxIni, iniArguments(db, QVariant::fromValue(static_cast<HostWindow*>(&host))));
        EXPECT_EQ(control.control().context().HostForm, static_cast<HostWindow*>(&host));
        EXPECT_EQ(control.control().surface().classGrid.periodRows(), 8);
    }
    {
        PlainHost host;
        QxMavoWinWidget control(&host);
        control.invoke(QX_MavoWin::DispIdQxIni, iniArguments(db, QVariant::fromValue(&host)));
        EXPECT_EQ(control.control().context().HostForm, static_cast<HostWindow*>(&host));
        // The widgets show what QxIni built.
        EXPECT_NE(control.cellWidget(QStringLiteral("教师"), 7, 7), nullptr);
    }
}

TEST(LateBoundQxIni, AWindowThatIsNoHostWindowIsATypeMismatch)
{
    TempDb db;
    loadSchool(db);
    QWidget notAHost;
    QxMavoWinWidget control(&notAHost);
    try {
        control.invoke(QX_MavoWin::DispIdQxIni, iniArguments(db, QVariant::fromValue(&notAHost)));
        FAIL() << "QxIni accepted a window that is no host window";
    } catch (const ControlError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("类型不匹配"))) << e.description().toStdString();
    }
    EXPECT_EQ(control.control().context().HostForm, nullptr);
}

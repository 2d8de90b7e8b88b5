#include "state/guid.h"
#include "qxmavowin/host_window.h"
#include "control/qx_mavowin.h"
#include "support/temp_db.h"

#include <QObject>

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(CreateGuid, PadsEveryGroupAndKeepsTheTopBit)
{
    QX_MavoWin control;
    GuidRecord g{0x0000ABCD, 0x00F1, 0xFFFF, {5, 0xA0, 0, 1, 2, 3, 4, 0xFF}};
    control.setGuidSource([&g](GuidRecord& out) {
        out = g;
        return 0;
    });
    EXPECT_EQ(control.CreateGUID(), QStringLiteral("0000ABCD-00F1-FFFF-05A0-0001020304FF"));
    EXPECT_EQ(control.CreateGUIDEx(), QStringLiteral("{0000abcd-00f1-ffff-05a0-0001020304ff}"));

    g.Data1 = 0xF0000001;
    EXPECT_EQ(control.CreateGUID().left(9), QStringLiteral("F0000001-"));

    // A failing generator gives the zero fallback.
    control.setGuidSource([](GuidRecord&) { return -1; });
    EXPECT_EQ(control.CreateGUID(), QStringLiteral("00000000-0000-0000-0000-000000000000"));
    EXPECT_EQ(control.CreateGUIDEx(), QStringLiteral("{00000000-0000-0000-0000-000000000000}"));
}

TEST(CreateGuid, SystemSourceGivesDistinctBracedLowerCaseVersion4Ids)
{
    QX_MavoWin control;
    const QRegularExpression form(
        QStringLiteral("^\\{[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}\\}$"));
    QSet<QString> seen;
    for (int i = 0; i < 200; ++i) {
        const QString id = control.CreateGUIDEx();
        EXPECT_TRUE(form.match(id).hasMatch()) << id.toStdString();
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 200);
}

TEST(Invoke, CallsPublicMembersByIdAndRejectsOthers)
{
    QX_MavoWin control;
    control.setGuidSource([](GuidRecord&) { return 1; });
    EXPECT_EQ(control.invoke(0x60030000, {}).toString(), kNullGuid);
    EXPECT_EQ(control.invoke(0x60030001, {}).toString().size(), 38);
    EXPECT_THROW(control.invoke(0x60030002, {}), std::exception);
    EXPECT_THROW(control.invoke(0x60030045, {QVariant(1)}), std::exception);
}

// A host window as a toolkit passes itself: an object of its own kind.
class HostObject : public QObject, public HostWindow {};

TEST(Invoke, QxIniTakesTheHostWindowAsAPointerOrAsTheHostsOwnObject)
{
    TempDb db;
    db.exec("insert into sz_xn values ('X1','2005-2006','2','课表')");
    const auto args = [&](const QVariant& form) {
        return QVariantList{QVariant::fromValue(db.db()), "2005-2006", "2", "课表", form, 1};
    };
    HostWindow plain;
    HostObject object;
    for (const QVariant& form : {QVariant::fromValue<HostWindow*>(&plain), QVariant::fromValue<QObject*>(&object)}) {
        QX_MavoWin control;
        EXPECT_FALSE(control.invoke(0x60030045, args(form)).isValid());
        EXPECT_EQ(control.session().XnId.toString(), "X1");
    }
    QX_MavoWin control;
    QObject notAWindow;
    EXPECT_THROW(control.invoke(0x60030045, args(QVariant::fromValue<QObject*>(&notAWindow))), ControlError);
    EXPECT_THROW(control.invoke(0x60030045, args(QVariant(5))), ControlError);
}

} // namespace

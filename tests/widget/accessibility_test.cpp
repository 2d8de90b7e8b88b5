// What assistive tools read: cells, plan entries and selectors through
// Qt's accessibility interfaces, and the events a change of state raises.

#include "school_window.h"

#include <QAccessible>
#include <QApplication>
#include <QTreeWidget>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <vector>

namespace {

constexpr Side kClass = Side::Class;
constexpr Side kTeacher = Side::Teacher;

// The events the widgets raised while a Listening was there.
std::vector<std::pair<QObject*, QAccessible::Event>> events;

// Accessibility switched on as a screen reader does; records the events the
// widgets raise, as it would receive them.
struct Listening {
    Listening()
    {
        events.clear();
        QAccessible::installUpdateHandler([](QAccessibleEvent* e) { events.emplace_back(e->object(), e->type()); });
        platform()->setActive(true);
    }
    ~Listening()
    {
        platform()->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
    }
    static QPlatformAccessibility* platform() { return QGuiApplicationPrivate::platformIntegration()->accessibility(); }
    // How many events of a kind reached cells of one grid.
    static int count(SchoolWindow& w, Side kind, QAccessible::Event type)
    {
        int n = 0;
        for (int d = 1; d <= 7; ++d)
            for (int p = 1; p <= 8; ++p)
                n += static_cast<int>(std::count(events.begin(), events.end(),
                                                 std::pair{static_cast<QObject*>(w.cell(kind, d, p)), type}));
        return n;
    }
};

} // namespace

TEST(Accessibility, CellsNameTheirPlaceAndCaptionAndDescribeTheirStateInWords)
{
    SchoolWindow w;
    w.chooseByKeys("cmbJb", QStringLiteral("高中"));
    w.chooseByKeys("cmbNj", QStringLiteral("高一"));
    w.chooseByKeys("cmbBj", QStringLiteral("高一(1)班"));
    QAccessibleInterface* monday = QAccessible::queryAccessibleInterface(w.cell(kClass, 1, 1));
    EXPECT_EQ(monday->role(), QAccessible::Cell);
    EXPECT_EQ(monday->text(QAccessible::Name), QStringLiteral("星期一 第一节：张伟 语文"));
    EXPECT_EQ(monday->text(QAccessible::Description), QString()); // no analysis yet
    EXPECT_EQ(said(w.cell(kClass, 6, 1), QAccessible::Name), QStringLiteral("星期六 第一节：空"));

    Listening listening;
    QTest::mouseClick(w.cell(kClass, 1, 1), Qt::RightButton);
    const struct {
        int weekday, period;
        const char* description;
    } states[] = {
        {1, 1, "正在分析的课"},
        {3, 6, "可调入"},
        {1, 3, "不可调入：张伟 此时在 高一(2)班 上 语文"},  // 张伟 teaches 高一(2)班 then
        {5, 7, "禁排时段：[教师]已在此课节被设定不能排课"}, // a forbidden period of 张伟
    };
    for (const auto& s : states)
        EXPECT_EQ(said(w.cell(kClass, s.weekday, s.period), QAccessible::Description), QString::fromUtf8(s.description))
            << s.weekday << "/" << s.period;
    // Every class cell left its plain state; the teacher's week shows none.
    EXPECT_EQ(Listening::count(w, kClass, QAccessible::DescriptionChanged), 7 * 8);
    EXPECT_EQ(Listening::count(w, kTeacher, QAccessible::DescriptionChanged), 0);

    // The analysed lesson dragged onto Wednesday period 6: both cells say so.
    w.C->control().cellDragOver(kClass, 1, 0);
    w.C->control().cellDragOver(kClass, 3, 5);
    w.C->control().cellDragDrop(kClass, 3, 5);
    w.C->syncFromSurface();
    EXPECT_EQ(said(w.cell(kClass, 3, 6), QAccessible::Name), QStringLiteral("星期三 第六节：张伟 语文"));
    EXPECT_EQ(said(w.cell(kClass, 3, 6), QAccessible::Description), QStringLiteral("刚调整"));
    EXPECT_EQ(said(w.cell(kClass, 1, 1), QAccessible::Name), QStringLiteral("星期一 第一节：空"));

    // A selector is labelled by its caption and says what it chooses; the
    // plan entries are named by their columns, described by their settings.
    QAccessibleInterface* selector = QAccessible::queryAccessibleInterface(w.child("cmbBj"));
    const auto labels = selector->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->text(QAccessible::Name), QStringLiteral("班级"));
    EXPECT_EQ(selector->text(QAccessible::Description), QStringLiteral("选择班级"));
    EXPECT_EQ(selector->text(QAccessible::Value), QStringLiteral("高一(1)班"));
    auto* list = w.child<QTreeWidget>("lstBj");
    QTreeWidgetItem* physics = list->findItems(QStringLiteral("物理"), Qt::MatchExactly).value(0);
    ASSERT_NE(physics, nullptr);
    QAccessibleInterface* entry =
        QAccessible::queryAccessibleInterface(list)->tableInterface()->cellAt(list->indexOfTopLevelItem(physics), 0);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->text(QAccessible::Name).startsWith(QStringLiteral("课程名 物理，班级 高一(1)班，教师姓名 刘洋")))
        << entry->text(QAccessible::Name).toStdString();
    EXPECT_TRUE(entry->text(QAccessible::Description).startsWith(QStringLiteral("课程名:物理")))
        << entry->text(QAccessible::Description).toStdString();
}

TEST(Accessibility, TheFocusCellIsFocusedForAssistiveToolsAndMovesWithTheArrows)
{
    SchoolWindow w;
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    Listening listening;
    w.child("NFraBj")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(events.back(), (std::pair{static_cast<QObject*>(w.cell(kClass, 1, 2)), QAccessible::Focus}));
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(w.cell(kClass, 1, 2))->state().focused);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(w.cell(kClass, 1, 1))->state().focused);
}

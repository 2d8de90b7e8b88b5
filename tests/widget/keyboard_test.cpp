// Whole adjustments by key events alone: the keyboard reaches the same
// handlers as the mouse, so kcb ends with the rows the mouse leaves.

#include "school_window.h"

#include "state/colors.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr Side kClass = Side::Class;

// A window that has the keyboard, with 高一(1)班 chosen by keys.
struct KeyboardWindow : SchoolWindow {
    KeyboardWindow()
    {
        activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(this));
        chooseByKeys("cmbJb", QStringLiteral("高中"));
        chooseByKeys("cmbNj", QStringLiteral("高一"));
        chooseByKeys("cmbBj", QStringLiteral("高一(1)班"));
        answerBoxes(answer, [this](QMessageBox* box) { boxes << box->text(); });
    }
    ~KeyboardWindow() override { EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'\n').toStdString(); }

    QTimer answer;
    QStringList boxes;

    QWidget* focused() const { return QApplication::focusWidget(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(focused(), static_cast<Qt::Key>(key), modifiers);
    }
    // Tab until the named control has the focus; false when the chain never gets there.
    bool tabTo(const QString& name)
    {
        for (int i = 0; i < 20 && focused()->objectName() != name; ++i)
            press(Qt::Key_Tab);
        return focused()->objectName() == name;
    }
    // Arrow keys from the grid's focus cell to weekday d, period p.
    void arrowTo(int fromDay, int fromPeriod, int d, int p)
    {
        press(d > fromDay ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier, std::abs(d - fromDay));
        press(p > fromPeriod ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier, std::abs(p - fromPeriod));
    }
    QStringList slotsOf(const char* planId)
    {
        return db.rows(QStringLiteral("select 星期, 课节 from kcb where jxjh_id='%1' order by 星期, 课节").arg(planId));
    }
    // The cell's background below its text (the corner has the state mark).
    std::string backOf(int d, int p) const
    {
        QWidget* c = cell(kClass, d, p);
        return shownColor(c, {c->width() / 2, c->height() - 8});
    }
};

} // namespace

TEST(Keyboard, TabVisitsSelectorsShortCodeChecksGridsDeleteButtonsAndPlanListsInOrder)
{
    KeyboardWindow w;
    w.child<QWidget>("cmbJb")->setFocus();
    QStringList order{w.focused()->objectName()};
    for (int i = 0; i < 14; ++i) {
        w.press(Qt::Key_Tab);
        order << w.focused()->objectName();
    }
    EXPECT_EQ(order, (QStringList{"cmbJb", "cmbNj", "cmbBj", "cmbJs", "txtJm", "chkJs", "chkKcBj", "chkBj", "chkKcJs",
                                  "NFraBj", "NFraJs", "cmdDelBj", "cmdDeljs", "lstBj", "lstJs"}));
    w.press(Qt::Key_Backtab);
    EXPECT_EQ(w.focused()->objectName(), QStringLiteral("lstBj"));
}

TEST(Keyboard, AnalyseCarryExchangeRefuseMovePlaceDeleteAndUndo)
{
    KeyboardWindow w;
    w.C->setStateMarks(true); // in the pictures beside the frames
    ASSERT_TRUE(w.tabTo("NFraBj"));
    // The focus cell starts on Monday period 1: 语文 of 张伟 (l01).
    w.press(Qt::Key_Space);
    EXPECT_EQ(w.backOf(1, 1), screenColor(color::AnalysedLesson));
    EXPECT_EQ(w.backOf(3, 3), screenColor(color::Available)); // 英语 l11

    // Carried onto Wednesday period 3, the two lessons change places.
    w.press(Qt::Key_Return);
    w.arrowTo(1, 1, 3, 3);
    keepPicture(w, QStringLiteral("keyboard-carrying"));
    w.press(Qt::Key_Enter);
    EXPECT_EQ(w.db.rows("select id, 星期, 课节 from kcb where id in ('l01','l11') order by id"),
              (QStringList{"l01|3|3", "l11|1|1"}));
    keepPicture(w, QStringLiteral("keyboard-exchanged"));

    // Monday period 3 is blocked for 张伟 (he teaches 高一(2)班 then): the
    // drop is refused.
    w.press(Qt::Key_Menu);
    w.press(Qt::Key_Return);
    w.arrowTo(3, 3, 1, 3);
    w.press(Qt::Key_Return);
    EXPECT_EQ(w.slotsOf("j1"), (QStringList{"2|1", "3|1", "3|3", "4|1"}));
    EXPECT_EQ(w.slotsOf("j3"), (QStringList{"1|1", "1|3"}));

    // 物理 (two hours left) from the class plan list onto Thursday period 5.
    ASSERT_TRUE(w.tabTo("lstBj"));
    auto* list = w.child<QTreeWidget>("lstBj");
    const int physics = list->indexOfTopLevelItem(list->findItems(QStringLiteral("物理"), Qt::MatchExactly).value(0));
    ASSERT_GE(physics, 0);
    w.press(Qt::Key_Home);
    w.press(Qt::Key_Down, Qt::NoModifier, physics);
    w.press(Qt::Key_Return);
    EXPECT_TRUE(w.child<QPlainTextEdit>("txtHelp")->isVisible());
    EXPECT_EQ(w.focused()->objectName(), QStringLiteral("NFraBj"));
    w.arrowTo(1, 3, 4, 5);
    w.press(Qt::Key_Return);
    EXPECT_EQ(w.slotsOf("j4"), (QStringList{"2|4", "4|5"}));

    // Delete takes the analysed lesson away; Ctrl+Z brings it back, Ctrl+Y
    // takes it again.
    w.press(Qt::Key_Space);
    w.press(Qt::Key_Delete);
    EXPECT_EQ(w.slotsOf("j4"), QStringList{"2|4"});
    w.press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.slotsOf("j4"), (QStringList{"2|4", "4|5"}));
    w.press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.slotsOf("j4"), QStringList{"2|4"});

    // Esc puts a carried lesson down unchanged; the next Enter picks up again.
    w.arrowTo(4, 5, 1, 3);
    w.press(Qt::Key_F10, Qt::ShiftModifier); // 英语 of 王芳
    w.press(Qt::Key_Return);
    w.arrowTo(1, 3, 3, 6);
    w.press(Qt::Key_Escape);
    w.press(Qt::Key_Return);
    EXPECT_EQ(w.slotsOf("j3"), (QStringList{"1|1", "1|3"}));
}

// Enter on a blocked cell offers the chain that gets the lesson there: its
// cells numbered, its moves in the status line. Esc gives it up; Enter
// applies it as one edit.
TEST(Keyboard, EnterOnABlockedCellPreviewsAChainEscCancelsEnterApplies)
{
    KeyboardWindow w;
    auto* status = w.child<QLabel>("labStatus");
    auto offer = [&] {
        w.press(Qt::Key_Space); // 语文 of 张伟 (l01), Monday period 1
        w.press(Qt::Key_Return);
        w.arrowTo(1, 1, 1, 3); // blocked: 张伟 teaches 高一(2)班 then
        w.press(Qt::Key_Return);
    };
    ASSERT_TRUE(w.tabTo("NFraBj"));
    const QStringList before = w.db.rows("select id, 星期, 课节 from kcb order by id");
    offer();
    EXPECT_TRUE(status->toolTip().startsWith(QStringLiteral("连环调课 "))) << status->toolTip().toStdString();
    EXPECT_TRUE(w.child<QPushButton>("cmdChain")->isVisible());
    EXPECT_TRUE(said(w.cell(kClass, 1, 3), QAccessible::Description).contains(QStringLiteral("调课方案第 1 步调入")));
    keepPicture(w, QStringLiteral("chain-preview"));

    w.press(Qt::Key_Escape);
    EXPECT_EQ(status->text(), QString());
    EXPECT_FALSE(w.child<QPushButton>("cmdChain")->isVisible());
    EXPECT_FALSE(said(w.cell(kClass, 1, 3), QAccessible::Description).contains(QStringLiteral("调课方案")));
    EXPECT_EQ(w.db.rows("select id, 星期, 课节 from kcb order by id"), before);

    w.arrowTo(1, 3, 1, 1);
    offer();
    w.press(Qt::Key_Return);
    EXPECT_EQ(w.db.rows("select 星期, 课节 from kcb where id='l01'"), QStringList{"1|3"});
    EXPECT_TRUE(w.C->undoAction()->text().startsWith(QStringLiteral("撤销 连环调课 ")));
    EXPECT_TRUE(status->toolTip().startsWith(QStringLiteral("已完成连环调课 ")));
}

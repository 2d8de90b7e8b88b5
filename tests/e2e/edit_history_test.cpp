// Undo and redo: every committed edit can be taken back and written again,
// checked at write time like the edit itself.
#include "adjust_fixture.h"

#include <QJsonArray>

namespace {

class EditHistoryTest : public AdjustTest {
protected:
    // The one message box of a refused or failed step; the history unchanged.
    void expectStepFailed(const QString& undoText, const QString& reason)
    {
        const QString said = warning();
        EXPECT_TRUE(said.startsWith(reason)) << qPrintable(said);
        EXPECT_EQ(control().UndoText(), undoText);
    }
};

// One edit of each kind: the lines that prepare it, the edit, its undo text,
// and what another desk does to overtake its undo, and its redo after an undo.
struct EditCase {
    QStringList setup;
    QString edit, text;
    QStringList beforeUndo, beforeRedo;
};

QStringList moveAt(const char* grid, const char* from, const char* to)
{
    return {QStringLiteral("rclick %1 %2").arg(grid, from), QStringLiteral("dragcell %1 %2 %1 %3").arg(grid, from, to)};
}

QStringList placeP5(const char* at)
{
    return {"item lstBj {P5}", QStringLiteral("dragitem lstBj {P5} 班级 %1").arg(at)};
}

std::vector<EditCase> editOfEachKind()
{
    return {
        {{"pick cmbBj 0", "item lstBj {P5}"},
         "dragitem lstBj {P5} 班级 7 7",
         "安排 英语 1班 C王 星期日第7节",
         moveAt("班级", "7 7", "6 6"),
         placeP5("7 7")},
        {{"pick cmbBj 0", "rclick 班级 1 3"},
         "dragcell 班级 1 3 班级 5 5",
         "移动 数学 1班 A张 星期一第3节 → 星期五第5节",
         moveAt("班级", "5 5", "6 6"),
         moveAt("班级", "1 3", "6 6")},
        {{"pick cmbBj 0", "rclick 班级 1 1"},
         "dragcell 班级 1 1 班级 1 3",
         "交换 语文 1班 B李 星期一第1节 ↔ 数学 1班 A张 星期一第3节",
         moveAt("班级", "1 1", "6 6"),
         moveAt("班级", "1 3", "6 6")},
        {{"pick cmbJs 0", "rclick 教师 3 2"},
         "dragcell 教师 3 2 教师 1 1",
         "交换 数学 1班 A张 星期三第2节 ↔ 语文 1班 B李 星期一第1节",
         moveAt("班级", "1 1", "6 6"),
         moveAt("班级", "3 2", "6 6")},
        {{"pick cmbBj 0", "rclick 班级 4 4"},
         "delete 班级",
         "删除 英语 1班 C王 星期四第4节",
         placeP5("4 4"),
         moveAt("班级", "4 4", "6 6")},
        // L1 into Thursday 4, where L6 gives way to Thursday 1.
        {{"pick cmbBj 0", "rclick 班级 1 3", "chains 班级 1 3 班级 4 4"},
         "applychain 0",
         "连环调课 2 节：数学 1班 星期一第3节→星期四第4节；英语 1班 星期四第4节→星期四第1节",
         moveAt("班级", "4 4", "6 6"),
         moveAt("班级", "1 3", "6 6")},
    };
}

// Each kind of edit, on its own: undo gives the table back as it was, redo
// the table after the edit, again and again; the texts name the edit. Written
// inside the host's transaction, which the host then rolls back, its undo
// finds the timetable already as the undo would leave it, so the entry leaves
// the stack with a message saying so, and the week is shown as the database
// holds it.
TEST_P(EditHistoryTest, EachEditIsUndoneAndRedoneInTheTableOrLeavesTheStackWhenTheHostRolledItBack)
{
    for (const EditCase& c : editOfEachKind()) {
        for (const bool rolledBack : {false, true}) {
            SCOPED_TRACE(c.text.toStdString() + (rolledBack ? " rolled back" : ""));
            afresh();
            const QStringList before = kcb();
            runAll(c.setup + (rolledBack ? QStringList{"sql begin", c.edit, "sql rollback"} : QStringList{c.edit}));
            if (rolledBack) {
                ASSERT_EQ(kcb(), before);
                run("undo");
                expectStepFailed(QString(), QStringLiteral("“%1”没有留在数据库中").arg(c.text));
                EXPECT_FALSE(control().CanUndo());
                EXPECT_EQ(kcb(), before);
                continue;
            }
            const QStringList after = kcb();
            ASSERT_NE(after, before);
            EXPECT_EQ(driver->run("dump")["state"][u"edits"].toObject(),
                      (QJsonObject{{"canUndo", true}, {"canRedo", false}, {"undoText", c.text}, {"redoText", ""}}));
            for (int round = 0; round < 2; ++round) {
                run("undo");
                EXPECT_EQ(kcb(), before);
                EXPECT_EQ(control().RedoText(), c.text);
                run("redo");
                EXPECT_EQ(kcb(), after);
            }
            EXPECT_TRUE(control().messages().take().empty());
        }
    }
    // The last case, a chain rolled back, moved L6 from 星期四第4节: the grid shows it there again.
    EXPECT_TRUE(cell(C, 4, 4).Tag.startsWith("L6\t"));
}

// A run of edits undone to the start gives the first table; redone, the
// last; a new edit drops what could be redone; QxIni starts afresh. The week
// shown follows, with the changed cells marked.
TEST_P(EditHistoryTest, RunsOfEditsAndWhatTheScreenShows)
{
    const QStringList first = kcb();
    runAll({"pick cmbBj 0", "item lstBj {P5}", "dragitem lstBj {P5} 班级 7 7", "rclick 班级 1 1",
            "dragcell 班级 1 1 班级 1 3", "rclick 班级 4 4", "delete 班级"});
    const QStringList last = kcb();

    // The removal undone: the class grid shows the week again, the lesson
    // put back marked, its hour taken again.
    run("undo");
    EXPECT_TRUE(cell(C, 4, 4).Tag.startsWith("L6\t"));
    EXPECT_EQ(cell(C, 4, 4).BackColor, color::Changed);
    expectBack(C, color::White, {{4, 4}});
    EXPECT_EQ(hoursLeft("lstBj", "P5"), "-");
    runAll({"undo", "undo"});
    EXPECT_EQ(kcb(), first);
    EXPECT_EQ(cell(C, 7, 7).Tag, "");
    EXPECT_TRUE(cell(C, 1, 1).Tag.startsWith("L3\t"));
    EXPECT_FALSE(control().CanUndo());
    run("undo"); // nothing left: nothing happens
    EXPECT_EQ(kcb(), first);

    runAll({"redo", "redo", "redo"});
    EXPECT_EQ(kcb(), last);
    EXPECT_FALSE(control().CanRedo());
    runAll({"undo", "rclick 班级 1 3", "dragcell 班级 1 3 班级 6 6"});
    EXPECT_FALSE(control().CanRedo());
    EXPECT_TRUE(control().UndoText().startsWith(QStringLiteral("移动 ")));

    // A second start fails when the grids already have their rows, but not
    // before it has forgotten the edits.
    driver->run("ini 2005-2006 2 课表 1");
    EXPECT_FALSE(control().CanUndo());
    EXPECT_FALSE(control().CanRedo());
}

// Another desk changed what an edit of any kind touches: its undo, or its
// redo after an undo, is refused with the box and logs nothing; the timetable
// and the history stay as they were, and the week shown is the database's.
TEST_P(EditHistoryTest, AStepAnotherDeskOvertookIsRefused)
{
    for (const EditCase& c : editOfEachKind()) {
        for (const bool redo : {false, true}) {
            SCOPED_TRACE(c.text.toStdString() + (redo ? " redo" : " undo"));
            afresh();
            auto at = [&](Driver& desk, QString l) {
                const QJsonObject out = desk.run(withRows(l, desk));
                EXPECT_TRUE(out.value("ok").toBool() && desk.control().messages().take().empty()) << qPrintable(l);
            };
            for (const QString& l : c.setup + QStringList{c.edit} + (redo ? QStringList{"undo"} : QStringList{}))
                at(*driver, l);
            Driver desk2(db->openSecond());
            for (const QString& l :
                 QStringList{"ini 2005-2006 2 课表 1", "pick cmbBj 0"} + (redo ? c.beforeRedo : c.beforeUndo))
                at(desk2, l);
            const QStringList overtaken = kcb();
            const QStringList history{control().UndoText(), control().RedoText()};
            ASSERT_EQ(history.join(""), c.text);
            const QVariant logged = db->scalar("select count(*) from kcb_log");

            EXPECT_FALSE(redo ? control().Redo() : control().Undo());
            const QString said = warning();
            EXPECT_TRUE(said.startsWith(QStringLiteral("另一位用户刚刚修改了课表"))) << qPrintable(said);
            EXPECT_EQ(kcb(), overtaken);
            EXPECT_EQ(db->scalar("select count(*) from kcb_log"), logged);
            EXPECT_EQ((QStringList{control().UndoText(), control().RedoText()}), history);
            EXPECT_EQ(control().CanUndo(), !redo);
            EXPECT_EQ(control().CanRedo(), redo);
            expectClassGridShowsDatabase(*driver);
        }
    }
}

// A fault half-way through an undo leaves the table and the history as they
// were: an exchange's undo writes two updates; the second fails.
TEST_P(EditHistoryTest, FailedUndoChangesNothing)
{
    const QStringList before = kcb();
    runAll({"pick cmbBj 0", "rclick 班级 1 1", "dragcell 班级 1 1 班级 1 3"});
    const QStringList exchanged = kcb();
    const QString exchange = control().UndoText();
    failExecute(2);
    run("undo");
    expectStepFailed(exchange, QStringLiteral("磁盘已满"));
    EXPECT_EQ(kcb(), exchanged);
    control().conn().setFaultHook({});
    run("undo");
    EXPECT_EQ(kcb(), before);
}

KBTZ_ON_EVERY_ENGINE(EditHistoryTest);

} // namespace

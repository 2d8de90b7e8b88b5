#pragma once

#include "qxmavowin/member_ids.h"
#include "state/control_state.h"
#include "state/edit_history.h"

#include <QSqlDatabase>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class ChangeLog;
class Connection;
class DayPeriods;
struct ChainOffer;
struct LessonRef;
class HostWindow;
class LockWaitBound;
class TimetableWatch;

// The timetable-adjustment control. A host calls QxIni once with its open
// database, the timetable and its window; after that the control is driven
// by the user's events on its surface (the members below). The toolkit layer
// draws the surface and calls them; it decides nothing itself.
//
// The control is the facade over the handlers of the grids, the plan lists
// and the adjustment: they work on its state (state/control_state.h), and
// edits write through its timetable session. It owns what lives across
// user actions: the undo history, the chains on offer and the live watch.
class QX_MavoWin {
public:
    // Member ids of the public interface, for late-bound hosts.
    static constexpr int DispIdCreateGUID = qxmavowin::member::CreateGUID;
    static constexpr int DispIdCreateGUIDEx = qxmavowin::member::CreateGUIDEx;
    static constexpr int DispIdQxIni = qxmavowin::member::QxIni;

    QX_MavoWin();
    ~QX_MavoWin();
    QX_MavoWin(const QX_MavoWin&) = delete;
    QX_MavoWin& operator=(const QX_MavoWin&) = delete;

    // Public members.
    QString CreateGUID();
    QString CreateGUIDEx();
    QVariant QxIni(const QSqlDatabase& DB_Conn, const QString& S_Xn, const QString& S_Xq, const QString& S_PkName,
                   HostWindow* S_Form, qint16 S_DataType);

    // Undo and redo of this control's committed edits (new lessons, moves
    // and exchanges, removals), newest first; QxIni starts afresh. Each is an
    // edit like any other, checked when it is written: when the lessons have
    // changed since, it is refused with the "警告" box, the weeks are shown
    // afresh and the history stays as it was. Afterwards the weeks and plan
    // lists that show what it touched are shown afresh. False when there was
    // nothing to undo (redo) or it did not go through.
    bool Undo();
    bool Redo();
    bool CanUndo() const { return history_.canUndo(); }
    bool CanRedo() const { return history_.canRedo(); }
    // What an undo (redo) would write back, e.g. "移动 数学 1班 A张 星期一第3节 → 星期四第2节";
    // empty when there is nothing.
    QString UndoText() const { return history_.undoText(); }
    QString RedoText() const { return history_.redoText(); }
    EditHistory& history() { return history_; }
    // How many edits, undos and redos this control has written: what it
    // keeps of the timetable is stale once this has moved.
    int editsWritten() const { return state_.editsWritten(); }

    // Live refresh (control/timetable_watch.h): a change that another desk
    // or program commits to a class or teacher the control shows is shown
    // as it comes, whenever the host's event loop runs. On by default; off,
    // the control shows the database as of the last choice, as before.
    bool LiveRefresh() const { return liveRefresh_; }
    void SetLiveRefresh(bool on);
    TimetableWatch& watch() { return *watch_; }

    // The desk's name in the change history (store/change_log.h); the
    // machine's name unless the host sets one. Control characters are
    // dropped and the name is cut to kDeskNameLength characters, so that
    // every kcb_log row stays a line of readable text.
    static constexpr int kDeskNameLength = TimetableSession::kDeskNameLength;
    QString DeskName() const { return state_.session().deskName(); }
    void SetDeskName(const QString& name) { state_.session().setDeskName(name); }
    // The change history of the connection's database.
    ChangeLog& changeLog() { return state_.session().changeLog(); }

    // A lost connection (a server restart, the database closed). The control
    // notices it at the first statement that meets it: the action fails with
    // its message, live refresh stops, and the handler set here is called
    // once, from the event loop, so that the host opens the connection
    // again (the connection is the host's). Until then every action fails
    // at once with the same reason.
    bool ConnectionLost() const { return lost_; }
    void setConnectionLostHandler(std::function<void()> handler) { onLost_ = std::move(handler); }
    // The host opened the connection again (the same QSqlDatabase reopened,
    // or another with the same parameters): the control takes it, prepares
    // its statements again as they are needed, subscribes to the other
    // desks' changes again and shows the chosen class and teacher afresh.
    // The undo history stays: its entries are checked when they are written.
    // Throws what the first statements throw (the server gone again).
    void Reconnect(const QSqlDatabase& db);
    // The periods of each weekday (store/day_periods.h), of the connection's database.
    DayPeriods& dayPeriods() { return state_.session().dayPeriods(); }
    // The chains found for the last target (adjust/chain_offer.h).
    ChainOffer& chainOffer() { return *chainOffer_; }

    // Chooses the class of a lesson and analyses the lesson, as a right
    // click on it does (e.g. from a row of the change history). False when
    // the lesson is no longer in the timetable.
    bool ShowLesson(const QString& lessonId);
    // The same for a lesson the caller names (a conflict of the check): its
    // class and teacher are chosen, and its cell right-clicked when a grid
    // shows it. Throws ControlError when the class or teacher is not among
    // the selectors' entries.
    bool ShowLesson(const LessonRef& lesson);

    // Writes a new edit of the user's and keeps it for undo; throws what the
    // edit throws (EditRefused, DbError), and then keeps nothing.
    void perform(std::unique_ptr<EditCommand> edit);

    // Calls a public member by its member id, as a late-binding host does.
    // QxIni takes (QSqlDatabase, text, text, text, HostWindow*, integer).
    QVariant invoke(int memberId, const QVariantList& args);

    // User events, as the toolkit delivers them: the side of the grid,
    // weekday 1..7, index the period - 1.
    void cellClick(Side side, int weekday, int index);
    void cellDragOver(Side side, int weekday, int index);
    void cellDragDrop(Side side, int weekday, int index);
    void planItemClick(ListView& list, int row);
    void txtJmKeyPress(int& keyAscii);
    void txtHelpClick();
    void cmdDelBjClick();
    void cmdDeljsClick();
    // 执行 under the grids, or Enter in a grid while a chain is previewed:
    // applies the chain. Esc in a grid gives the preview up.
    void cmdChainClick();
    void chainEscape();
    // A drag of the toolkit begins or ends (a drop comes before its end):
    // a change of another desk waits until it is over.
    void dragStart();
    void dragEnd();
    // Combo choices reach the handlers through ComboBox::setListIndex.

    // What the handlers work on, and its parts.
    ControlState& state() { return state_; }
    TimetableSession& session() { return state_.session(); }
    Surface& surface() { return state_.surface(); }
    ScheduleContext& context() { return state_.context(); }
    MessageBoxes& messages() { return state_.messages(); }

    // The connection QxIni was given; throws when there is none yet.
    Connection& conn() { return state_.conn(); }
    // Takes the host's database as the control's connection (QxIni's first
    // step; tests use it to run one operation without a whole start-up).
    void attach(const QSqlDatabase& db);
    bool hasConnection() const { return state_.session().hasConnection(); }

    // Seams for tests and toolkits. The setup runs on every connection the
    // control makes from the host's database (statement trace, fault hooks).
    void setConnectionSetup(std::function<void(Connection&)> setup) { connectionSetup_ = std::move(setup); }
    // Whether the connections the control makes run SQLite's equivalent
    // statement forms (Connection::setSqliteEquivalents); on by default.
    void setSqliteEquivalents(bool on);
    // The same for PostgreSQL's equivalents and prepared statements
    // (Connection::setPostgresEquivalents); on by default.
    void setPostgresEquivalents(bool on);
    void setGuidSource(GuidSource source) { state_.setGuidSource(std::move(source)); }
    void setPause(ControlState::Pause pause) { state_.setPause(std::move(pause)); }

    // The cell of a grid at weekday 1..7 and index; throws when absent.
    Label& cell(Side side, int weekday, int index) { return state_.cell(side, weekday, index); }

private:
    bool step(bool undo);
    void undoOrForget(EditCommand& edit);
    // The start of every user action: the status line and a chain's preview go.
    void userAction();
    void connectionLostSeen();
    LockWaitBound boundWaits();

    ControlState state_;
    EditHistory history_;
    std::unique_ptr<ChainOffer> chainOffer_;
    std::unique_ptr<TimetableWatch> watch_;
    bool liveRefresh_ = true;
    bool lost_ = false;
    std::function<void()> onLost_;
    std::function<void(Connection&)> connectionSetup_;
    bool sqliteEquivalents_ = true;
    bool postgresEquivalents_ = true;
};

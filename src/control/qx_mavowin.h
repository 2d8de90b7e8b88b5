#pragma once

#include "adjust/edit_history.h"
#include "control/guid.h"
#include "qxmavowin/member_ids.h"
#include "control/message_box.h"
#include "control/schedule_context.h"
#include "control/surface.h"

#include <QSqlDatabase>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class ChangeLog;
class Connection;
class DayPeriods;
class PlanNames;
struct ChainOffer;
class HostWindow;
class LockWaitBound;
class TimetableWatch;

// The timetable-adjustment control. A host calls QxIni once with its open
// database, the timetable and its window; after that the control is driven
// by the user's events on its surface (the handlers below). The toolkit layer
// draws the surface and calls the handlers; it decides nothing itself.
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
    int editsWritten() const { return editsWritten_; }

    // Live refresh (control/timetable_watch.h): a change that another desk
    // or program commits to a class or teacher the control shows is shown
    // as it comes, whenever the host's event loop runs. On by default; off,
    // the control shows the database as of the last choice, as before.
    bool LiveRefresh() const { return liveRefresh_; }
    void SetLiveRefresh(bool on);
    TimetableWatch& watch() { return *watch_; }

    // The desk's name in the change history (adjust/change_log.h); the
    // machine's name unless the host sets one. Control characters are
    // dropped and the name is cut to kDeskNameLength characters, so that
    // every kcb_log row stays a line of readable text.
    static constexpr int kDeskNameLength = 64;
    QString DeskName() const { return deskName_; }
    void SetDeskName(const QString& name);
    // The change history of the connection's database.
    ChangeLog& changeLog();
    // PostgreSQL: the channel on which the desks of the timetable hear of
    // each other's edits; empty on other engines and before QxIni.
    const QString& noticeChannel() const { return noticeChannel_; }

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
    // The periods of each weekday (adjust/day_periods.h), of the connection's database.
    DayPeriods& dayPeriods();
    // The plan items' names the analysis has read (adjust/edit_names.h).
    PlanNames& planNames() { return *planNames_; }
    // The chains found for the last target (adjust/chain_offer.h).
    ChainOffer& chainOffer() { return *chainOffer_; }

    // Chooses the class of a lesson and analyses the lesson, as a right
    // click on it does (e.g. from a row of the change history). False when
    // the lesson is no longer in the timetable.
    bool ShowLesson(const QString& lessonId);

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

    Surface& surface() { return surface_; }
    ScheduleContext& context() { return context_; }
    MessageBoxes& messages() { return messages_; }

    // The connection QxIni was given; throws when there is none yet.
    Connection& conn();
    // Takes the host's database as the control's connection (QxIni's first
    // step; tests use it to run one operation without a whole start-up).
    void attach(const QSqlDatabase& db);
    bool hasConnection() const { return connection_ != nullptr; }

    // Seams for tests and toolkits. The setup runs on every connection the
    // control makes from the host's database (statement trace, fault hooks).
    void setConnectionSetup(std::function<void(Connection&)> setup) { connectionSetup_ = std::move(setup); }
    // Whether the connections the control makes run SQLite's equivalent
    // statement forms (Connection::setSqliteEquivalents); on by default.
    void setSqliteEquivalents(bool on);
    // The same for PostgreSQL's equivalents and prepared statements
    // (Connection::setPostgresEquivalents); on by default.
    void setPostgresEquivalents(bool on);
    void setGuidSource(GuidSource source) { guidSource_ = std::move(source); }
    using Pause = std::function<void(double seconds)>;
    void setPause(Pause pause) { pause_ = std::move(pause); }
    void pause(double seconds);

    // The cell of a grid at weekday 1..7 and index; throws when absent.
    Label& cell(Side side, int weekday, int index);

    // A grid was filled from the database: what it shows is as of now.
    void noteShown(Side side);
    // Whether another desk or program committed a change since the grids
    // were filled (true when that cannot be told). A refused edit says
    // "another user changed" only then; otherwise the screen misses lessons.
    bool othersChangedSinceShown();

    // Bounds the lock waits of the control's statements for the object's
    // lifetime (store/lock_wait_bound.h); every entry point takes one.
    LockWaitBound boundWaits();

    // Whether a user action is running (control/busy_state.h). An Acting
    // object marks one for its lifetime.
    bool acting() const { return acting_ > 0; }
    class Acting {
    public:
        explicit Acting(QX_MavoWin& control) : control_(control) { ++control_.acting_; }
        ~Acting() { --control_.acting_; }
        Acting(const Acting&) = delete;
        Acting& operator=(const Acting&) = delete;

    private:
        QX_MavoWin& control_;
    };

private:
    bool step(bool undo);
    void undoOrForget(EditCommand& edit);
    // The start of every user action: the status line and a chain's preview go.
    void userAction();
    void findNoticeChannel();
    void connectionLostSeen();

    Surface surface_;
    ScheduleContext context_;
    EditHistory history_;
    MessageBoxes messages_;
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<ChangeLog> changeLog_;
    std::unique_ptr<DayPeriods> dayPeriods_;
    std::unique_ptr<PlanNames> planNames_;
    std::unique_ptr<ChainOffer> chainOffer_;
    std::unique_ptr<TimetableWatch> watch_;
    bool liveRefresh_ = true;
    bool lost_ = false;
    std::optional<qint64> shownMarks_[2]; // othersMark() when the class (0) and teacher (1) grid was filled
    std::function<void()> onLost_;
    QString deskName_;
    QString noticeChannel_;
    int acting_ = 0;
    int editsWritten_ = 0;
    std::function<void(Connection&)> connectionSetup_;
    bool sqliteEquivalents_ = true;
    bool postgresEquivalents_ = true;
    GuidSource guidSource_;
    Pause pause_;
};

#pragma once

#include <QString>
#include <QVariant>
#include <memory>

class ChangeLog;
class Connection;
class DayPeriods;
class LockWaitBound;
class PlanNames;

// The timetable a control works on, as edits and checked writes see it: the
// host's connection, the timetable's id, the change history, the channel on
// which the desks of the timetable hear of each other, and this desk's name.
// It also keeps what the connection's database has been read to say once
// (the periods of each weekday, the plan items' names).
class TimetableSession {
public:
    TimetableSession();
    ~TimetableSession();
    TimetableSession(const TimetableSession&) = delete;
    TimetableSession& operator=(const TimetableSession&) = delete;

    // Takes a fresh connection (QxIni, or the host's reconnect): what was
    // read on the one before is forgotten.
    void attach(std::unique_ptr<Connection> connection);
    bool hasConnection() const { return connection_ != nullptr; }
    // The connection; throws when there is none yet.
    Connection& conn();
    // The connection, to take over its trace; null when there is none.
    Connection* connection() { return connection_.get(); }

    // sz_xn.id of the timetable; invalid while empty.
    QVariant XnId;
    // The id as text; throws when no timetable is open.
    QString openedTimetableId() const;

    // The change history of the connection's database.
    ChangeLog& changeLog();
    // The periods of each weekday, of the connection's database.
    DayPeriods& dayPeriods();
    // The plan items' names read so far.
    PlanNames& planNames() { return *planNames_; }

    // PostgreSQL: the channel on which the desks of the timetable hear of
    // each other's edits; empty on other engines and before a timetable.
    const QString& noticeChannel() const { return noticeChannel_; }
    // Looks the channel up for the timetable's id.
    void findNoticeChannel();

    // The desk's name in the change history: the machine's name unless the
    // host sets one. Control characters are dropped and the name is cut to
    // kDeskNameLength characters, so that every kcb_log row stays a line of
    // readable text.
    static constexpr int kDeskNameLength = 64;
    const QString& deskName() const { return deskName_; }
    void setDeskName(const QString& name);

    // Bounds the lock waits of the statements for the object's lifetime
    // (store/lock_wait_bound.h); every entry point takes one.
    LockWaitBound boundWaits();

private:
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<ChangeLog> changeLog_;
    std::unique_ptr<DayPeriods> dayPeriods_;
    std::unique_ptr<PlanNames> planNames_;
    QString noticeChannel_;
    QString deskName_;
};

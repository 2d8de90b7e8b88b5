#pragma once

// Live refresh: a control's watch over its timetable for changes that other
// desks and programs commit, shown as they come (adjust/shown_after_change.h).
//
// - PostgreSQL: the notifications on the timetable's channel
//   (store/timetable_change.h), through Qt SQL's subscription on the
//   control's connection. The control's own notifications come from its own
//   session and are left alone: what it wrote, it already shows. (So are
//   those of another control on the same connection.)
// - SQLite: the file's data version, read a few times a second on the
//   control's connection while the control is idle; it changes only when
//   another connection commits. What changed is not known, so both sides are
//   shown afresh.
//
// A change waits while a user action (a drop and its animation, a message
// box) or a drag of the toolkit is under way, and is shown once it has ended.
// Changes that arrive together are shown once. The watch needs an event loop
// to run in: the host's, or the driver's `wait`.

#include "store/timetable_change.h"

#include <QObject>
#include <QPointer>
#include <QSqlDriver>
#include <QTimer>
#include <optional>

class QX_MavoWin;

class TimetableWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int kPollMs = 250; // SQLite's data version
    static constexpr int kRetryMs = 50; // a change waiting for an action or a drag to end

    explicit TimetableWatch(QX_MavoWin& control);
    ~TimetableWatch() override;

    // Watches the control's timetable on its connection (after QxIni), in
    // place of whatever it watched before. Nothing on another engine.
    void start();
    void stop();
    bool watching() const { return watching_; }
    // Live refresh switched off and on again: pause() stops and notes how far
    // the timetable's changes had come; resume() starts again and shows at
    // once, on both sides, what changed in between (SQLite: the data
    // version; PostgreSQL: the newest kcb_log row, or always without it).
    void pause();
    void resume();

    // How far the commits of others have come, as far as the control can
    // tell: SQLite's data version, or on PostgreSQL the count of other
    // sessions' notifications while subscribed (those waiting in the session
    // are taken in first). Empty when it cannot tell.
    std::optional<qint64> othersMark();

    // The toolkit's drag begins or ends.
    void setDragging(bool dragging);
    // While a change is being shown. It is nobody's action, so it shows no
    // busy state: disabling the window would take the keyboard focus from
    // whatever the user is doing.
    bool showing() const { return showing_; }

signals:
    // A change of the timetable by someone else was seen and shown; the
    // sides shown afresh, neither when it touched nothing on screen.
    void changeShown(bool classSide, bool teacherSide);

private:
    void notified(const QString& channel, QSqlDriver::NotificationSource source, const QVariant& payload);
    void poll();
    void arrived(const TimetableChange& change);
    void showPending();
    bool busy() const;
    std::optional<qint64> dataVersion() const;
    std::optional<qint64> changeMark() const;

    QX_MavoWin& control_;
    bool watching_ = false;
    bool dragging_ = false;
    bool showing_ = false;
    QPointer<QSqlDriver> driver_; // PostgreSQL: the subscribed connection's
    QString channel_;
    QString timetableId_;
    qint64 dataVersion_ = 0;         // SQLite: as last read
    std::optional<qint64> pausedAt_; // changeMark() when paused
    qint64 othersSeen_ = 0;          // PostgreSQL: notifications of other sessions on the channel
    std::optional<TimetableChange> pending_;
    QTimer pollTimer_;
    QTimer showTimer_;
};

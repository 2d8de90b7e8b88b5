#include "control/timetable_watch.h"

#include "adjust/shown_after_change.h"
#include "control/qx_mavowin.h"
#include "state/busy_state.h"
#include "store/change_log.h"
#include "store/connection.h"
#include "store/session_statements.h"
#include "store/value_text.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace {

// How many watches of one connection listen on a channel, counted on its
// driver: the channel is left only when the last of them stops, so that two
// controls on one connection do not stop each other.
int countListeners(QSqlDriver& driver, const QString& channel, int change)
{
    const QByteArray name = "kbtz_listeners_" + channel.toLatin1();
    const int count = driver.property(name.constData()).toInt() + change;
    driver.setProperty(name.constData(), count);
    return count;
}

} // namespace

TimetableWatch::TimetableWatch(QX_MavoWin& control) : control_(control)
{
    pollTimer_.setInterval(kPollMs);
    connect(&pollTimer_, &QTimer::timeout, this, &TimetableWatch::poll);
    showTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, &TimetableWatch::showPending);
}

TimetableWatch::~TimetableWatch() { stop(); }

void TimetableWatch::start()
{
    stop();
    if (!control_.hasConnection() || !QCoreApplication::instance())
        return;
    Connection& conn = control_.conn();
    timetableId_ = joinText(control_.session().XnId);
    switch (conn.engine()) {
    case Engine::PostgreSQL: {
        channel_ = control_.session().noticeChannel();
        QSqlDriver* driver = conn.database().driver();
        if (channel_.isEmpty() || !driver || !driver->subscribeToNotification(channel_))
            return;
        countListeners(*driver, channel_, +1);
        driver_ = driver;
        connect(driver, &QSqlDriver::notification, this, &TimetableWatch::notified);
        break;
    }
    case Engine::SQLite: {
        const std::optional<qint64> version = dataVersion();
        if (!version)
            return;
        dataVersion_ = *version;
        pollTimer_.start();
        break;
    }
    case Engine::Other: return;
    }
    watching_ = true;
}

void TimetableWatch::stop()
{
    if (driver_) {
        disconnect(driver_, nullptr, this, nullptr);
        if (countListeners(*driver_, channel_, -1) == 0 && driver_->isOpen())
            driver_->unsubscribeFromNotification(channel_);
    }
    driver_.clear();
    pollTimer_.stop();
    showTimer_.stop();
    pending_.reset();
    watching_ = false;
}

void TimetableWatch::pause()
{
    pausedAt_ = watching_ ? changeMark() : std::nullopt;
    stop();
}

void TimetableWatch::resume()
{
    start();
    if (!watching_)
        return;
    const std::optional<qint64> now = changeMark();
    if (!pausedAt_ || !now || *now != *pausedAt_)
        arrived(TimetableChange{true, {}, {}});
    pausedAt_.reset();
}

std::optional<qint64> TimetableWatch::othersMark()
{
    if (!control_.hasConnection())
        return std::nullopt;
    switch (control_.conn().engine()) {
    case Engine::SQLite: return dataVersion();
    case Engine::PostgreSQL:
        if (!driver_)
            return std::nullopt;
        for (const Connection::Notice& n : control_.conn().takeNotices())
            notified(n.channel, n.own ? QSqlDriver::SelfSource : QSqlDriver::OtherSource, n.payload);
        return othersSeen_;
    case Engine::Other: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<qint64> TimetableWatch::changeMark() const
{
    try {
        switch (control_.conn().engine()) {
        case Engine::SQLite: return dataVersion();
        case Engine::PostgreSQL: {
            if (!control_.changeLog().present())
                return std::nullopt;
            const std::vector<ChangeEntry> newest = control_.changeLog().recent(timetableId_, 1);
            return newest.empty() ? 0 : newest.front().seq;
        }
        case Engine::Other: return std::nullopt;
        }
    } catch (const std::exception&) {
        // Unknown: the resume shows both sides afresh.
    }
    return std::nullopt;
}

void TimetableWatch::setDragging(bool dragging)
{
    dragging_ = dragging;
    if (!dragging_ && pending_)
        showTimer_.start(0);
}

void TimetableWatch::notified(const QString& channel, QSqlDriver::NotificationSource source, const QVariant& payload)
{
    if (channel != channel_ || source == QSqlDriver::SelfSource)
        return;
    ++othersSeen_;
    if (const std::optional<TimetableChange> change = parseNotice(payload.toString(), timetableId_))
        arrived(*change);
}

void TimetableWatch::poll()
{
    if (busy())
        return;
    const std::optional<qint64> version = dataVersion();
    if (!version || *version == dataVersion_)
        return;
    dataVersion_ = *version;
    arrived(TimetableChange{true, {}, {}});
}

std::optional<qint64> TimetableWatch::dataVersion() const
{
    // Read past the statement trace: the poll is none of the control's statements.
    QSqlQuery query(control_.conn().database());
    if (!query.exec(sql::dataVersion()) || !query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

void TimetableWatch::arrived(const TimetableChange& change)
{
    if (pending_)
        pending_->merge(change);
    else
        pending_ = change;
    // Whatever else has already arrived is taken in before the change is shown.
    if (!showTimer_.isActive())
        showTimer_.start(0);
}

void TimetableWatch::showPending()
{
    if (!pending_)
        return;
    if (busy()) {
        showTimer_.start(kRetryMs);
        return;
    }
    const TimetableChange change = *pending_;
    pending_.reset();
    ShownAfresh shown;
    showing_ = true;
    control_.state().setShowingOthersChange(true);
    runAction(control_.state(), Busy::No, [&] { shown = ShowChangedWeeks(control_.state(), change); });
    control_.state().setShowingOthersChange(false);
    showing_ = false;
    emit changeShown(shown.classSide, shown.teacherSide);
}

bool TimetableWatch::busy() const { return dragging_ || control_.state().acting(); }

#include "state/timetable_session.h"

#include "store/change_log.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/day_periods.h"
#include "store/edit_names.h"
#include "store/lock_wait_bound.h"
#include "store/session_statements.h"
#include "store/timetable_change.h"
#include "store/value_text.h"

#include <QSysInfo>

TimetableSession::TimetableSession() : planNames_(std::make_unique<PlanNames>())
{
    setDeskName(QSysInfo::machineHostName());
}

TimetableSession::~TimetableSession() = default;

void TimetableSession::attach(std::unique_ptr<Connection> connection)
{
    connection_ = std::move(connection);
    changeLog_ = std::make_unique<ChangeLog>(*connection_);
    dayPeriods_ = std::make_unique<DayPeriods>(*connection_);
    planNames_->forget();
    noticeChannel_.clear();
}

Connection& TimetableSession::conn()
{
    if (!connection_)
        throw ControlError(QStringLiteral("没有数据库连接：请先调用 QxIni"));
    return *connection_;
}

ChangeLog& TimetableSession::changeLog()
{
    conn(); // throws before there is a connection, and with it a change log
    return *changeLog_;
}

DayPeriods& TimetableSession::dayPeriods()
{
    conn();
    return *dayPeriods_;
}

void TimetableSession::findNoticeChannel()
{
    noticeChannel_.clear();
    if (conn().engine() != Engine::PostgreSQL || XnId.isNull())
        return;
    Recordset rs = connection_->check(sql::timetableSchema());
    noticeChannel_ = ::noticeChannel(rs.atEnd() ? QString() : joinText(rs.field(0)), joinText(XnId));
}

void TimetableSession::setDeskName(const QString& name)
{
    // Counted in characters, so that a name is never cut inside one.
    std::u32string kept;
    for (const char32_t c : name.toStdU32String())
        if (QChar::category(c) != QChar::Other_Control && kept.size() < static_cast<size_t>(kDeskNameLength))
            kept += c;
    deskName_ = QString::fromStdU32String(kept);
}

QString TimetableSession::openedTimetableId() const
{
    if (!XnId.isValid() || XnId.isNull())
        throw ControlError(QStringLiteral("没有打开的课表：请先调用 QxIni"));
    return joinText(XnId);
}

LockWaitBound TimetableSession::boundWaits() { return LockWaitBound(connection_.get()); }

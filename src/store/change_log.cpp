#include "store/change_log.h"

#include "store/change_log_statements.h"
#include "store/connection.h"
#include "store/value_text.h"

namespace {

std::optional<Slot> slotOf(const QVariant& day, const QVariant& period)
{
    if (day.isNull() || period.isNull())
        return std::nullopt;
    return Slot{day.toInt(), period.toInt()};
}

// SQLite keeps the time as UTC text, PostgreSQL as a time stamp with its zone.
QDateTime timeOf(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toUTC();
    QDateTime at = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
    at.setTimeSpec(Qt::UTC);
    return at;
}

} // namespace

QString stepName(EditStep step)
{
    switch (step) {
    case EditStep::Edit: return QStringLiteral("edit");
    case EditStep::Undo: return QStringLiteral("undo");
    case EditStep::Redo: return QStringLiteral("redo");
    }
    return QString();
}

QString kindName(EditKind kind)
{
    switch (kind) {
    case EditKind::Place: return QStringLiteral("place");
    case EditKind::Move: return QStringLiteral("move");
    case EditKind::Exchange: return QStringLiteral("exchange");
    case EditKind::Remove: return QStringLiteral("remove");
    }
    return QString();
}

bool ChangeLog::present() { return conn_.optionalSchema().changeLog; }

void ChangeLog::append(const QString& xnId, const QString& desk, const LoggedEdit& edit)
{
    if (!present())
        return;
    sql::ChangeLogRow row{xnId,          desk,        stepName(edit.step), kindName(edit.kind),
                          edit.lessonId, edit.planId, edit.otherId};
    if (edit.before) {
        row.beforeDay = edit.before->weekday;
        row.beforePeriod = edit.before->period;
    }
    if (edit.after) {
        row.afterDay = edit.after->weekday;
        row.afterPeriod = edit.after->period;
    }
    conn_.executeExtra(sql::appendChangeLog(row));
}

std::vector<ChangeEntry> ChangeLog::recent(const QString& xnId, int count, const QString& classId,
                                           const QString& teacherId)
{
    std::vector<ChangeEntry> out;
    if (!present())
        return out;
    for (Recordset rs = conn_.check(sql::recentChanges(xnId, count, classId, teacherId)); !rs.atEnd(); rs.MoveNext()) {
        ChangeEntry e;
        e.seq = rs.field(0).toLongLong();
        e.at = timeOf(rs.field(1));
        e.dbUser = joinText(rs.field(2));
        e.desk = joinText(rs.field(3));
        e.step = joinText(rs.field(4));
        e.kind = joinText(rs.field(5));
        e.lessonId = joinText(rs.field(6));
        e.planId = joinText(rs.field(7));
        e.otherId = joinText(rs.field(8));
        e.before = slotOf(rs.field(9), rs.field(10));
        e.after = slotOf(rs.field(11), rs.field(12));
        e.course = joinText(rs.field(13));
        e.className = joinText(rs.field(14));
        e.teacher = joinText(rs.field(15));
        e.classId = joinText(rs.field(16));
        out.push_back(std::move(e));
    }
    return out;
}

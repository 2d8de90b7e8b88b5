#include "integrity.h"

#include "store/connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

constexpr int kDetails = 5;

void note(Integrity::Report& report, const QString& what)
{
    if (report.details.size() < 3 * kDetails)
        report.details << what;
}

std::optional<std::pair<int, int>> slotOf(const QVariant& day, const QVariant& period)
{
    if (day.isNull() || period.isNull())
        return std::nullopt;
    return std::pair{day.toInt(), period.toInt()};
}

QString slotText(const std::optional<std::pair<int, int>>& slot)
{
    return slot ? QStringLiteral("%1/%2").arg(slot->first).arg(slot->second) : QStringLiteral("-");
}

} // namespace

std::optional<Integrity::Lessons> Integrity::readLessons(QSqlDatabase db, QString* error)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select kcb.id,kcb.jxjh_id,kcb.星期,kcb.课节,bj_id,js_id from kcb left join "
                               "info_jxjh on kcb.jxjh_id=info_jxjh.id"))) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    Lessons out;
    while (q.next())
        out[q.value(0).toString()] = Lesson{q.value(1).toString(), q.value(2).toInt(), q.value(3).toInt(),
                                            q.value(4).toString(), q.value(5).toString()};
    return out;
}

Integrity::Bookings Integrity::bookingsOf(const Lessons& lessons)
{
    Bookings out;
    for (const auto& [id, l] : lessons) {
        if (!l.classId.isEmpty())
            ++out[{QStringLiteral("bj:") + l.classId, l.day, l.period}];
        if (!l.teacherId.isEmpty())
            ++out[{QStringLiteral("js:") + l.teacherId, l.day, l.period}];
    }
    return out;
}

std::map<QString, int> Integrity::placedOf(const Lessons& lessons)
{
    std::map<QString, int> out;
    for (const auto& [id, l] : lessons)
        ++out[l.plan];
    return out;
}

QString Integrity::readBefore(QSqlDatabase db)
{
    QString error;
    const std::optional<Lessons> lessons = readLessons(db, &error);
    if (!lessons)
        return error;
    lessons_ = *lessons;
    bookings_ = bookingsOf(lessons_);
    placed_ = placedOf(lessons_);
    Connection conn(db);
    hasLog_ = conn.optionalSchema().changeLog;
    if (!hasLog_)
        return QString();
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select max(seq) from kcb_log")) || !q.next())
        return QStringLiteral("cannot read kcb_log: ") + q.lastError().text();
    lastSeq_ = q.value(0).toLongLong();
    return QString();
}

Integrity::Report Integrity::check(QSqlDatabase db) const
{
    Report report;
    QString error;
    const std::optional<Lessons> now = readLessons(db, &error);
    if (!now) {
        ++report.inconsistentRows;
        note(report, QStringLiteral("cannot read kcb: ") + error);
        return report;
    }

    for (const auto& [key, count] : bookingsOf(*now)) {
        const auto was = bookings_.find(key);
        if (count > 1 && count > (was == bookings_.end() ? 0 : was->second)) {
            ++report.newDoubleBookings;
            note(report, QStringLiteral("%1 booked %2 times at %3/%4")
                             .arg(std::get<0>(key))
                             .arg(count)
                             .arg(std::get<1>(key))
                             .arg(std::get<2>(key)));
        }
    }

    QSqlQuery hours(db);
    hours.exec(QStringLiteral("select id,每周课时 from info_jxjh"));
    const std::map<QString, int> placed = placedOf(*now);
    while (hours.next()) {
        const QString plan = hours.value(0).toString();
        const int limit = hours.value(1).toInt();
        const auto it = placed.find(plan);
        const auto was = placed_.find(plan);
        const int count = it == placed.end() ? 0 : it->second;
        if (count > limit && count > (was == placed_.end() ? 0 : was->second)) {
            ++report.plansOverHours;
            note(report, QStringLiteral("plan item %1: %2 lessons, %3 hours").arg(plan).arg(count).arg(limit));
        }
    }

    // The replay: where each lesson is, by the log, from the lessons as they were.
    report.replayed = hasLog_;
    if (!hasLog_)
        return report;
    std::map<QString, std::optional<std::pair<int, int>>> at;
    for (const auto& [id, l] : lessons_)
        at[id] = std::pair{l.day, l.period};
    QSqlQuery log(db);
    log.exec(QStringLiteral("select seq,kind,kcb_id,other_kcb_id,before_day,before_period,after_day,after_period "
                            "from kcb_log where seq>%1 order by seq")
                 .arg(lastSeq_));
    while (log.next()) {
        ++report.logRows;
        const QString seq = log.value(0).toString();
        const QString lesson = log.value(2).toString();
        const QString other = log.value(3).toString();
        const auto before = slotOf(log.value(4), log.value(5));
        const auto after = slotOf(log.value(6), log.value(7));
        if (at[lesson] != before) {
            ++report.inconsistentRows;
            note(report, QStringLiteral("kcb_log %1: lesson %2 was at %3, the row says %4")
                             .arg(seq, lesson, slotText(at[lesson]), slotText(before)));
        }
        at[lesson] = after;
        if (!other.isEmpty()) {
            if (at[other] != after) {
                ++report.inconsistentRows;
                note(report, QStringLiteral("kcb_log %1: the other lesson %2 was at %3, the row says %4")
                                 .arg(seq, other, slotText(at[other]), slotText(after)));
            }
            at[other] = before;
        }
    }
    for (const auto& [id, slot] : at) {
        const auto it = now->find(id);
        const std::optional<std::pair<int, int>> stored =
            it == now->end() ? std::nullopt : std::optional{std::pair{it->second.day, it->second.period}};
        if (stored != slot) {
            ++report.inconsistentRows;
            note(report,
                 QStringLiteral("lesson %1 is at %2, the log says %3").arg(id, slotText(stored), slotText(slot)));
        }
    }
    for (const auto& [id, l] : *now)
        if (!at.count(id)) {
            ++report.inconsistentRows;
            note(report, QStringLiteral("lesson %1 is new, and no row of kcb_log placed it").arg(id));
        }
    return report;
}

#include "adjust/write_check.h"

#include "state/timetable_session.h"
#include "store/adjust_statements.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/timetable_change.h"
#include "store/value_text.h"

#include <algorithm>
#include <map>

namespace {

[[noreturn]] void refuse(const QString& reason, QStringList inTheWay = {})
{
    throw EditRefused(refusalMessage(reason), std::move(inTheWay));
}

QString lessonText(const PlacedLesson& l) { return QStringLiteral("课表编号“%1”（%2）").arg(l.id, slotText(l.slot)); }

using OwnerSlot = std::pair<QString, Slot>;
using Bookings = std::map<OwnerSlot, int>;

// Lessons per teacher and slot, or per class and slot. A lesson without an
// owner (a plan item naming none) books nobody.
Bookings bookings(const SlotCensus& census, bool byClass)
{
    Bookings out;
    for (const PlacedLesson& l : census.lessons()) {
        const QString& owner = byClass ? l.classId : l.teacherId;
        if (!owner.isEmpty())
            ++out[{owner, l.slot}];
    }
    return out;
}

void refuseMoreThanBefore(const SlotCensus& before, const SlotCensus& after, bool byClass)
{
    const Bookings was = bookings(before, byClass);
    for (const auto& [key, count] : bookings(after, byClass)) {
        const auto it = was.find(key);
        const int earlier = it == was.end() ? 0 : it->second;
        if (count > 1 && count > earlier) {
            QStringList there;
            for (const PlacedLesson& l : after.lessons())
                if (l.slot == key.second && (byClass ? l.classId : l.teacherId) == key.first)
                    there << lessonText(l);
            refuse(QStringLiteral("%1将在%2同时上两节课")
                       .arg(byClass ? QStringLiteral("班级") : QStringLiteral("教师"), slotText(key.second)),
                   there);
        }
    }
}

} // namespace

SlotCensus SlotCensus::read(Connection& conn, const QString& xnId, const std::vector<Slot>& places,
                            const Owners& owners)
{
    std::vector<std::pair<int, int>> pairs;
    for (const Slot& s : places)
        pairs.emplace_back(s.weekday, s.period);
    Recordset rs = conn.check(
        sql::lessonsInSlots(xnId, pairs, owners.classIds, owners.teacherIds, conn.engine() == Engine::SQLite));
    SlotCensus census;
    for (; !rs.atEnd(); rs.MoveNext())
        census.lessons_.push_back(PlacedLesson{joinText(rs.field(0)), joinText(rs.field(1)), joinText(rs.field(4)),
                                               joinText(rs.field(5)), Slot{rs.field(2).toInt(), rs.field(3).toInt()}});
    return census;
}

void SlotCensus::merge(const SlotCensus& more)
{
    for (const PlacedLesson& l : more.lessons_)
        if (!at(l.id, l.slot))
            lessons_.push_back(l);
}

const PlacedLesson* SlotCensus::at(const QString& lessonId, Slot slot) const
{
    for (const PlacedLesson& l : lessons_)
        if (l.id == lessonId && l.slot == slot)
            return &l;
    return nullptr;
}

const PlacedLesson& requireLessonAt(const SlotCensus& census, const QString& lessonId, Slot slot)
{
    if (const PlacedLesson* l = census.at(lessonId, slot))
        return *l;
    QStringList there;
    for (const PlacedLesson& l : census.lessons())
        if (l.slot == slot)
            there << lessonText(l);
    refuse(QStringLiteral("%1的这节课已被删除或调走").arg(slotText(slot)), there);
}

void requireFree(const SlotCensus& census, Side side, const QString& ownerId, Slot slot)
{
    for (const PlacedLesson& l : census.lessons())
        if (l.slot == slot && (side == Side::Class ? l.classId : l.teacherId) == ownerId)
            refuse(QStringLiteral("%1已排了别的课").arg(slotText(slot)), {lessonText(l)});
}

void requireHourLeft(Connection& conn, const QString& xnId, const QString& planId)
{
    Recordset rs = conn.check(sql::planItemPlacement(planId, xnId));
    if (rs.atEnd())
        refuse(QStringLiteral("这项教学计划已不存在"), {QStringLiteral("教学计划“%1”不在数据库中").arg(planId)});
    const std::optional<int> hours = weeklyHoursOf(rs.field(0));
    if (!hours)
        throw EditRefused(QStringLiteral("这项教学计划的每周课时“%1”不是 0 到 %2 之间的整数，这次调整没有保存。")
                              .arg(joinText(rs.field(0)))
                              .arg(kMaxWeeklyHours));
    if (rs.field(1).toInt() >= *hours)
        refuse(
            QStringLiteral("这项教学计划的课时已经排满"),
            {QStringLiteral("教学计划“%1”已排 %2 节，每周 %3 课时").arg(planId).arg(rs.field(1).toInt()).arg(*hours)});
}

void refuseNewDoubleBookings(const SlotCensus& before, const SlotCensus& after)
{
    refuseMoreThanBefore(before, after, false);
    refuseMoreThanBefore(before, after, true);
}

void writeLessonRow(Connection& conn, const QString& text, const QString& lessonId)
{
    const int touched = conn.execute(text);
    if (touched > 1)
        throw EditRefused(duplicateIdMessage(lessonId));
    if (touched == 0)
        refuse(QStringLiteral("这节课已被删除"), {QStringLiteral("课表编号“%1”不在数据库中").arg(lessonId)});
}

void insertLessonRow(Connection& conn, const QString& text, const QString& lessonId)
{
    conn.execute(text);
    Recordset rs = conn.check(sql::lessonsWithId(lessonId));
    if (!rs.atEnd() && rs.field(0).toInt() > 1)
        throw EditRefused(duplicateIdMessage(lessonId));
}

std::vector<Slot> slotsOfLesson(Connection& conn, const QString& lessonId)
{
    std::vector<Slot> places;
    for (Recordset rs = conn.check(sql::lessonSlots(lessonId)); !rs.atEnd(); rs.MoveNext())
        places.push_back(Slot{rs.field(0).toInt(), rs.field(1).toInt()});
    return places;
}

CheckedWrite::CheckedWrite(TimetableSession& session, std::vector<Slot> places, Owners owners)
    : session_(session), conn_(session.conn()), xnId_(joinText(session.XnId)), unit_(conn_, xnId_),
      places_(std::move(places)), owners_(std::move(owners)), before_(SlotCensus::read(conn_, xnId_, places_, owners_))
{
    // The edit's own notification (announce) tells the other desks; the
    // trigger on kcb need not say it again for every statement.
    if (!session_.noticeChannel().isEmpty())
        conn_.check(sql::markOwnNotice());
}

void CheckedWrite::watchTeacher(const QString& teacherId)
{
    if (teacherId.isEmpty() || owners_.teacherIds.contains(teacherId))
        return;
    owners_.teacherIds << teacherId;
    before_.merge(SlotCensus::read(conn_, xnId_, places_, Owners{{}, {teacherId}}));
}

void CheckedWrite::commit(const LoggedEdit& edit) { commit(std::vector<LoggedEdit>{edit}); }

void CheckedWrite::commit(const std::vector<LoggedEdit>& edits)
{
    // An edit that leaves no lesson in a slot (a removal, the undo of a new
    // lesson) cannot book anybody twice: the slots need no second read.
    if (std::any_of(edits.begin(), edits.end(), [](const LoggedEdit& e) { return e.after.has_value(); }))
        refuseNewDoubleBookings(before_, SlotCensus::read(conn_, xnId_, places_, owners_));
    for (const LoggedEdit& edit : edits)
        session_.changeLog().append(xnId_, session_.deskName(), edit);
    announce(edits);
    unit_.commit();
}

void CheckedWrite::announce(const std::vector<LoggedEdit>& edits)
{
    // PostgreSQL delivers it when the unit commits, and never for a rollback.
    const QString& channel = session_.noticeChannel();
    if (channel.isEmpty())
        return;
    const bool hoursChanged = std::any_of(edits.begin(), edits.end(), [](const LoggedEdit& e) {
        return e.kind == EditKind::Place || e.kind == EditKind::Remove;
    });
    const TimetableChange change{false, owners_.classIds, owners_.teacherIds, hoursChanged};
    conn_.check(sql::notifyChange(channel, noticePayload(xnId_, change)));
}

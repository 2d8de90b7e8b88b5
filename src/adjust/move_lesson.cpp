#include "adjust/move_lesson.h"

#include "adjust/write_check.h"
#include "state/timetable_session.h"
#include "store/adjust_statements.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/edit_names.h"
#include "store/value_text.h"

namespace {

QStringList present(std::initializer_list<QString> ids)
{
    QStringList out;
    for (const QString& id : ids)
        if (!id.isEmpty() && !out.contains(id))
            out << id;
    return out;
}

} // namespace

void MoveLesson::moveFirst(TimetableSession& session, CheckedWrite& write)
{
    Connection& conn = session.conn();
    const Move& m = move_;
    const PlacedLesson& moved = requireLessonAt(write.before(), m.lessonId, m.from);
    if (!m.shownId.isEmpty())
        requireLessonAt(write.before(), m.shownId, m.to);
    else
        requireFree(write.before(), m.side, m.side == Side::Class ? m.classId : m.teacherId, m.to);

    if (!m.shownId.isEmpty()) {
        displacedId_ = m.shownId;
    } else {
        // An empty teacher slot can still hold a lesson of the moved lesson's
        // class with another teacher; it gives way to the source slot.
        Recordset rs = conn.open(sql::classLessonAtSlot(joinText(session.XnId), m.classId, m.to.weekday, m.to.period),
                                 CursorType::Dynamic, LockType::Optimistic);
        if (!rs.atEnd())
            displacedId_ = joinText(rs.field(QStringLiteral("id")));
    }
    planId_ = moved.planId;
    QStringList planIds{moved.planId};
    if (!displacedId_.isEmpty()) {
        const PlacedLesson* displaced = write.before().at(displacedId_, m.to);
        if (!displaced)
            throw EditRefused(refusalMessage(QStringLiteral("%1的课程已有变动").arg(slotText(m.to))),
                              QStringList{QStringLiteral("课表编号“%1”（%2）").arg(displacedId_, slotText(m.to))});
        displacedClassId_ = displaced->classId;
        displacedTeacherId_ = displaced->teacherId;
        planIds << displaced->planId;
        // Its teacher, whom no cell showed, must be free in the source slot.
        write.watchTeacher(displacedTeacherId_);
        writeLessonRow(conn, sql::moveLesson(m.from.weekday, m.from.period, displacedId_), displacedId_);
    }
    writeLessonRow(conn, sql::moveLesson(m.to.weekday, m.to.period, m.lessonId), m.lessonId);

    const QHash<QString, LessonNames> names = readLessonNames(conn, planIds);
    names_ = names.value(planIds[0]);
    if (planIds.size() > 1)
        displacedNames_ = names.value(planIds[1]);
}

void MoveLesson::redo(TimetableSession& session)
{
    const Move& m = move_;
    CheckedWrite write(session, {m.from, m.to},
                       Owners{present({m.classId, m.shownClassId, displacedClassId_}),
                              present({m.teacherId, m.shownTeacherId, displacedTeacherId_})});
    if (!writtenOnce()) {
        moveFirst(session, write);
    } else {
        requireLessonAt(write.before(), m.lessonId, m.from);
        if (!displacedId_.isEmpty()) {
            requireLessonAt(write.before(), displacedId_, m.to);
            writeLessonRow(session.conn(), sql::moveLesson(m.from.weekday, m.from.period, displacedId_), displacedId_);
        }
        writeLessonRow(session.conn(), sql::moveLesson(m.to.weekday, m.to.period, m.lessonId), m.lessonId);
    }
    write.commit(logged(redoStep(), m.from, m.to));
    markWritten();
}

void MoveLesson::undo(TimetableSession& session)
{
    const Move& m = move_;
    CheckedWrite write(session, {m.from, m.to},
                       Owners{present({m.classId, displacedClassId_}), present({m.teacherId, displacedTeacherId_})});
    requireLessonAt(write.before(), m.lessonId, m.to);
    if (!displacedId_.isEmpty())
        requireLessonAt(write.before(), displacedId_, m.from);
    writeLessonRow(session.conn(), sql::moveLesson(m.from.weekday, m.from.period, m.lessonId), m.lessonId);
    if (!displacedId_.isEmpty())
        writeLessonRow(session.conn(), sql::moveLesson(m.to.weekday, m.to.period, displacedId_), displacedId_);
    write.commit(logged(EditStep::Undo, m.to, m.from));
}

bool MoveLesson::undoneAlready(TimetableSession& session) const
{
    Connection& conn = session.conn();
    return slotsOfLesson(conn, move_.lessonId) == std::vector<Slot>{move_.from} &&
           (displacedId_.isEmpty() || slotsOfLesson(conn, displacedId_) == std::vector<Slot>{move_.to});
}

LoggedEdit MoveLesson::logged(EditStep step, Slot before, Slot after) const
{
    return {.step = step,
            .kind = displacedId_.isEmpty() ? EditKind::Move : EditKind::Exchange,
            .lessonId = move_.lessonId,
            .planId = planId_,
            .otherId = displacedId_,
            .before = before,
            .after = after};
}

QString MoveLesson::text() const
{
    if (displacedId_.isEmpty())
        return QStringLiteral("移动 %1 %2 → %3").arg(names_.text(), slotText(move_.from), slotText(move_.to));
    return QStringLiteral("交换 %1 %2 ↔ %3 %4")
        .arg(names_.text(), slotText(move_.from), displacedNames_.text(), slotText(move_.to));
}

EditCommand::Touched MoveLesson::touched() const
{
    Touched t{{move_.classId}, {move_.teacherId}, {move_.lessonId}, {move_.from, move_.to}};
    if (!displacedId_.isEmpty()) {
        t.classIds << displacedClassId_;
        t.teacherIds << displacedTeacherId_;
        t.lessonIds << displacedId_;
    }
    return t;
}

#include "adjust/lesson_row_edit.h"

#include "adjust/write_check.h"
#include "state/timetable_session.h"
#include "store/adjust_statements.h"
#include "store/connection.h"
#include "store/value_text.h"

EditCommand::Touched LessonRowEdit::touched() const
{
    return {{lesson_.classId}, {lesson_.teacherId}, {lesson_.id}, {lesson_.slot}};
}

void LessonRowEdit::insertRow(TimetableSession& session, EditStep step)
{
    const Lesson& l = lesson_;
    CheckedWrite write(session, {l.slot}, Owners{{l.classId}, {l.teacherId}});
    requireHourLeft(session.conn(), joinText(session.XnId), l.planId);
    insertLessonRow(session.conn(), sql::insertLesson(l.id, l.planId, l.slot.weekday, l.slot.period), l.id);
    write.commit({.step = step,
                  .kind = kind_,
                  .lessonId = l.id,
                  .planId = l.planId,
                  .otherId = {},
                  .before = std::nullopt,
                  .after = l.slot});
}

void LessonRowEdit::deleteRow(TimetableSession& session, EditStep step)
{
    Lesson& l = lesson_;
    CheckedWrite write(session, {l.slot}, Owners{{l.classId}, {l.teacherId}});
    const PlacedLesson& stored = requireLessonAt(write.before(), l.id, l.slot);
    writeLessonRow(session.conn(), sql::deleteLesson(l.id), l.id);
    if (l.planId.isEmpty()) {
        l.planId = stored.planId;
        l.classId = stored.classId;
        l.teacherId = stored.teacherId;
        l.names = readLessonNames(session.conn(), {l.planId}).value(l.planId);
    }
    write.commit({.step = step,
                  .kind = kind_,
                  .lessonId = l.id,
                  .planId = l.planId,
                  .otherId = {},
                  .before = l.slot,
                  .after = std::nullopt});
}

bool LessonRowEdit::rowIn(TimetableSession& session, bool placed) const
{
    const std::vector<Slot> now = slotsOfLesson(session.conn(), lesson_.id);
    return placed ? now == std::vector<Slot>{lesson_.slot} : now.empty();
}

void PlaceLesson::redo(TimetableSession& session)
{
    insertRow(session, redoStep());
    markWritten();
}

// The lesson must still stand where it was placed: another desk may have
// moved it since, and the undo would then delete it from its new slot.
void PlaceLesson::undo(TimetableSession& session) { deleteRow(session, EditStep::Undo); }

bool PlaceLesson::undoneAlready(TimetableSession& session) const { return rowIn(session, false); }

QString PlaceLesson::text() const
{
    return QStringLiteral("安排 %1 %2").arg(lesson_.names.text(), slotText(lesson_.slot));
}

void RemoveLesson::redo(TimetableSession& session)
{
    deleteRow(session, redoStep());
    markWritten();
}

void RemoveLesson::undo(TimetableSession& session) { insertRow(session, EditStep::Undo); }

bool RemoveLesson::undoneAlready(TimetableSession& session) const { return rowIn(session, true); }

QString RemoveLesson::text() const
{
    return QStringLiteral("删除 %1 %2").arg(lesson_.names.text(), slotText(lesson_.slot));
}

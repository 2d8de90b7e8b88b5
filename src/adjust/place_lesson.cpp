#include "adjust/place_lesson.h"

#include "adjust/write_check.h"
#include "control/qx_mavowin.h"
#include "store/connection.h"
#include "store/statements.h"
#include "store/value_text.h"

void PlaceLesson::redo(QX_MavoWin& control)
{
    CheckedWrite write(control, {lesson_.slot}, Owners{{lesson_.classId}, {lesson_.teacherId}});
    requireHourLeft(control.conn(), joinText(control.context().XnId), lesson_.planId);
    insertLessonRow(control.conn(),
                    sql::insertLesson(lesson_.id, lesson_.planId, lesson_.slot.weekday, lesson_.slot.period),
                    lesson_.id);
    write.commit({placedOnce_ ? EditStep::Redo : EditStep::Edit,
                  EditKind::Place,
                  lesson_.id,
                  lesson_.planId,
                  {},
                  std::nullopt,
                  lesson_.slot});
    placedOnce_ = true;
}

void PlaceLesson::undo(QX_MavoWin& control)
{
    CheckedWrite write(control, {lesson_.slot}, Owners{{lesson_.classId}, {lesson_.teacherId}});
    requireLessonAt(write.before(), lesson_.id, lesson_.slot);
    writeLessonRow(control.conn(), sql::deleteLesson(lesson_.id), lesson_.id);
    write.commit({EditStep::Undo, EditKind::Place, lesson_.id, lesson_.planId, {}, lesson_.slot, std::nullopt});
}

bool PlaceLesson::undoneAlready(QX_MavoWin& control) const { return slotsOfLesson(control.conn(), lesson_.id).empty(); }

QString PlaceLesson::text() const
{
    return QStringLiteral("安排 %1 %2").arg(lesson_.names.text(), slotText(lesson_.slot));
}

EditCommand::Touched PlaceLesson::touched() const
{
    return {{lesson_.classId}, {lesson_.teacherId}, {lesson_.id}, {lesson_.slot}};
}

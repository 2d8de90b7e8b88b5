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
    control.conn().execute(sql::insertLesson(lesson_.id, lesson_.planId, lesson_.slot.weekday, lesson_.slot.period));
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
    control.conn().execute(sql::deleteLesson(lesson_.id));
    write.commit({EditStep::Undo, EditKind::Place, lesson_.id, lesson_.planId, {}, lesson_.slot, std::nullopt});
}

QString PlaceLesson::text() const
{
    return QStringLiteral("安排 %1 %2").arg(lesson_.names.text(), slotText(lesson_.slot));
}

EditCommand::Touched PlaceLesson::touched() const
{
    return {{lesson_.classId}, {lesson_.teacherId}, {lesson_.id}, {lesson_.slot}};
}

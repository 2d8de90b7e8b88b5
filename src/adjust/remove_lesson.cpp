#include "adjust/remove_lesson.h"

#include "adjust/edit_names.h"
#include "adjust/write_check.h"
#include "control/qx_mavowin.h"
#include "store/connection.h"
#include "store/statements.h"
#include "store/value_text.h"

void RemoveLesson::redo(QX_MavoWin& control)
{
    CheckedWrite write(control, {slot_}, Owners{{classId_}, {teacherId_}});
    const PlacedLesson& stored = requireLessonAt(write.before(), lessonId_, slot_);
    writeLessonRow(control.conn(), sql::deleteLesson(lessonId_), lessonId_);
    if (!removedOnce_) {
        planId_ = stored.planId;
        classId_ = stored.classId;
        teacherId_ = stored.teacherId;
        names_ = readLessonNames(control.conn(), {planId_}).value(planId_);
    }
    write.commit({removedOnce_ ? EditStep::Redo : EditStep::Edit,
                  EditKind::Remove,
                  lessonId_,
                  planId_,
                  {},
                  slot_,
                  std::nullopt});
    removedOnce_ = true;
}

void RemoveLesson::undo(QX_MavoWin& control)
{
    CheckedWrite write(control, {slot_}, Owners{{classId_}, {teacherId_}});
    requireHourLeft(control.conn(), joinText(control.context().XnId), planId_);
    insertLessonRow(control.conn(), sql::insertLesson(lessonId_, planId_, slot_.weekday, slot_.period), lessonId_);
    write.commit({EditStep::Undo, EditKind::Remove, lessonId_, planId_, {}, std::nullopt, slot_});
}

bool RemoveLesson::undoneAlready(QX_MavoWin& control) const
{
    return slotsOfLesson(control.conn(), lessonId_) == std::vector<Slot>{slot_};
}

QString RemoveLesson::text() const { return QStringLiteral("删除 %1 %2").arg(names_.text(), slotText(slot_)); }

EditCommand::Touched RemoveLesson::touched() const { return {{classId_}, {teacherId_}, {lessonId_}, {slot_}}; }

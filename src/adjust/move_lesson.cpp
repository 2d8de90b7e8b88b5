#include "adjust/move_lesson.h"

#include "adjust/edit_names.h"
#include "adjust/write_check.h"
#include "control/qx_mavowin.h"
#include "store/connection.h"
#include "store/statements.h"
#include "store/value_text.h"

void MoveLesson::moveFirst(QX_MavoWin& control, const SlotCensus& before)
{
    Connection& conn = control.conn();
    const Move& m = move_;
    const PlacedLesson& moved = requireLessonAt(before, m.lessonId, m.from);
    if (!m.shownAtTarget.isEmpty())
        requireLessonAt(before, m.shownAtTarget, m.to);
    else
        requireFree(before, m.classSide, m.classSide ? m.classId : m.teacherId, m.to);

    if (!m.shownAtTarget.isEmpty()) {
        displacedId_ = m.shownAtTarget;
        conn.execute(sql::moveLesson(m.from.weekday, m.from.period, displacedId_));
    } else {
        // An empty teacher slot can still hold a lesson of the moved lesson's
        // class with another teacher; it gives way to the source slot.
        Recordset rs = conn.open(sql::classLessonAtSlot(joinText(control.context().XnId), m.classId, m.to.weekday,
                                                        m.to.period),
                                 CursorType::Dynamic, LockType::Optimistic);
        if (!rs.atEnd()) {
            displacedId_ = joinText(rs.field(QStringLiteral("id")));
            conn.execute(sql::moveLesson(m.from.weekday, m.from.period, displacedId_));
        }
    }
    conn.execute(sql::moveLesson(m.to.weekday, m.to.period, m.lessonId));

    QStringList planIds{moved.planId};
    if (const PlacedLesson* displaced = before.at(displacedId_, m.to)) {
        displacedClassId_ = displaced->classId;
        displacedTeacherId_ = displaced->teacherId;
        planIds << displaced->planId;
    }
    const QHash<QString, LessonNames> names = readLessonNames(conn, planIds);
    names_ = names.value(moved.planId);
    if (planIds.size() > 1)
        displacedNames_ = names.value(planIds[1]);
}

void MoveLesson::redo(QX_MavoWin& control)
{
    writeChecked(control, {move_.from, move_.to}, [&](const SlotCensus& before) {
        if (!movedOnce_) {
            moveFirst(control, before);
            movedOnce_ = true;
            return;
        }
        requireLessonAt(before, move_.lessonId, move_.from);
        if (!displacedId_.isEmpty()) {
            requireLessonAt(before, displacedId_, move_.to);
            control.conn().execute(sql::moveLesson(move_.from.weekday, move_.from.period, displacedId_));
        }
        control.conn().execute(sql::moveLesson(move_.to.weekday, move_.to.period, move_.lessonId));
    });
}

void MoveLesson::undo(QX_MavoWin& control)
{
    writeChecked(control, {move_.from, move_.to}, [&](const SlotCensus& before) {
        requireLessonAt(before, move_.lessonId, move_.to);
        if (!displacedId_.isEmpty())
            requireLessonAt(before, displacedId_, move_.from);
        control.conn().execute(sql::moveLesson(move_.from.weekday, move_.from.period, move_.lessonId));
        if (!displacedId_.isEmpty())
            control.conn().execute(sql::moveLesson(move_.to.weekday, move_.to.period, displacedId_));
    });
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

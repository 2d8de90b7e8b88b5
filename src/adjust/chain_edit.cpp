#include "adjust/chain_edit.h"

#include "adjust/write_check.h"
#include "state/timetable_session.h"
#include "store/adjust_statements.h"
#include "store/connection.h"
#include "store/value_text.h"

namespace {

void addOnce(QStringList& list, const QString& id)
{
    if (!id.isEmpty() && !list.contains(id))
        list << id;
}

} // namespace

std::vector<Slot> ChainEdit::places() const
{
    std::vector<Slot> out;
    for (const Move& m : moves_) {
        for (const std::optional<Slot>& s : {m.from, std::optional<Slot>(m.to)})
            if (s && std::find(out.begin(), out.end(), *s) == out.end())
                out.push_back(*s);
    }
    return out;
}

Owners ChainEdit::owners() const
{
    Owners out;
    for (const Move& m : moves_) {
        addOnce(out.classIds, m.classId);
        addOnce(out.teacherIds, m.teacherId);
    }
    return out;
}

void ChainEdit::redo(TimetableSession& session)
{
    Connection& conn = session.conn();
    CheckedWrite write(session, places(), owners());
    std::vector<LoggedEdit> logged;
    const EditStep step = redoStep();
    for (const Move& m : moves_) {
        if (m.from) {
            requireLessonAt(write.before(), m.lessonId, *m.from);
            writeLessonRow(conn, sql::moveLesson(m.to.weekday, m.to.period, m.lessonId), m.lessonId);
            logged.push_back({.step = step,
                              .kind = EditKind::Move,
                              .lessonId = m.lessonId,
                              .planId = m.planId,
                              .otherId = {},
                              .before = m.from,
                              .after = m.to});
        } else {
            requireHourLeft(conn, joinText(session.XnId), m.planId);
            insertLessonRow(conn, sql::insertLesson(m.lessonId, m.planId, m.to.weekday, m.to.period), m.lessonId);
            logged.push_back({.step = step,
                              .kind = EditKind::Place,
                              .lessonId = m.lessonId,
                              .planId = m.planId,
                              .otherId = {},
                              .before = std::nullopt,
                              .after = m.to});
        }
    }
    // A lesson another desk put into one of the slots meanwhile now shares
    // it with a lesson of the chain: the commit refuses that double booking.
    write.commit(logged);
    markWritten();
}

void ChainEdit::undo(TimetableSession& session)
{
    Connection& conn = session.conn();
    CheckedWrite write(session, places(), owners());
    std::vector<LoggedEdit> logged;
    for (const Move& m : moves_) {
        requireLessonAt(write.before(), m.lessonId, m.to);
        if (m.from) {
            writeLessonRow(conn, sql::moveLesson(m.from->weekday, m.from->period, m.lessonId), m.lessonId);
            logged.push_back({.step = EditStep::Undo,
                              .kind = EditKind::Move,
                              .lessonId = m.lessonId,
                              .planId = m.planId,
                              .otherId = {},
                              .before = m.to,
                              .after = m.from});
        } else {
            writeLessonRow(conn, sql::deleteLesson(m.lessonId), m.lessonId);
            logged.push_back({.step = EditStep::Undo,
                              .kind = EditKind::Place,
                              .lessonId = m.lessonId,
                              .planId = m.planId,
                              .otherId = {},
                              .before = m.to,
                              .after = std::nullopt});
        }
    }
    write.commit(logged);
}

bool ChainEdit::undoneAlready(TimetableSession& session) const
{
    Connection& conn = session.conn();
    for (const Move& m : moves_) {
        const std::vector<Slot> now = slotsOfLesson(conn, m.lessonId);
        if (m.from ? now != std::vector<Slot>{*m.from} : !now.empty())
            return false;
    }
    return true;
}

QString chainMovesText(const std::vector<ChainEdit::Move>& moves)
{
    QStringList parts;
    for (const ChainEdit::Move& m : moves) {
        QStringList who;
        for (const QString& part : {m.names.course, m.names.className})
            if (!part.isEmpty())
                who << part;
        parts << QStringLiteral("%1 %2→%3")
                     .arg(who.join(u' '), m.from ? slotText(*m.from) : QStringLiteral("新课"), slotText(m.to));
    }
    return parts.join(QStringLiteral("；"));
}

QString ChainEdit::text() const
{
    return QStringLiteral("连环调课 %1 节：%2").arg(moves_.size()).arg(chainMovesText(moves_));
}

EditCommand::Touched ChainEdit::touched() const
{
    Touched t;
    for (const Move& m : moves_) {
        addOnce(t.classIds, m.classId);
        addOnce(t.teacherIds, m.teacherId);
        t.lessonIds << m.lessonId;
    }
    t.places = places();
    return t;
}

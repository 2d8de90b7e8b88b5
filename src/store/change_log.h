#pragma once

// The change history of a timetable, in the table kcb_log (see
// data/schema-*.sql): one row for every edit, undo and redo the control
// commits, appended inside the edit's own write unit, so that a refused or
// failed edit leaves none. A database without the table works as before,
// with no history.

#include "store/slot.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

class Connection;

// Which run of an edit: the user's own, or its undo or redo.
enum class EditStep { Edit, Undo, Redo };
// What the edit does: a new lesson, a move, a move where another lesson gave
// way, a removal. Its undo keeps the kind and reverses the slots.
enum class EditKind { Place, Move, Exchange, Remove };

// The names kcb_log stores: "edit", "undo", "redo"; "place", "move", "exchange", "remove".
QString stepName(EditStep step);
QString kindName(EditKind kind);

// What one run of an edit did to its lesson.
struct LoggedEdit {
    EditStep step = EditStep::Edit;
    EditKind kind = EditKind::Place;
    QString lessonId;
    QString planId;
    QString otherId;            // an exchange's lesson that gave way: it went from `after` to `before`
    std::optional<Slot> before; // none: the lesson was not in the timetable
    std::optional<Slot> after;  // none: it is no longer
};

// One row as the history shows it, with the names of its plan item.
struct ChangeEntry {
    qint64 seq = 0;
    QDateTime at; // UTC
    QString dbUser, desk, step, kind;
    QString lessonId, planId, otherId;
    std::optional<Slot> before, after;
    QString course, className, teacher, classId;
};

// The kcb_log of one connection. Whether the database has the table is
// looked up once, at the first need.
class ChangeLog {
public:
    explicit ChangeLog(Connection& conn) : conn_(conn) {}

    bool present();
    // Appends the row of one run of an edit; nothing without the table.
    void append(const QString& xnId, const QString& desk, const LoggedEdit& edit);
    // The newest rows of the timetable, newest first; none without the table.
    // Only those of one class or one teacher when its id is given.
    std::vector<ChangeEntry> recent(const QString& xnId, int count, const QString& classId = {},
                                    const QString& teacherId = {});

private:
    Connection& conn_;
};

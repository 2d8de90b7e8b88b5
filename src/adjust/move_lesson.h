#pragma once

#include "qxmavowin/side.h"
#include "state/edit_command.h"
#include "store/change_log.h"
#include "store/edit_names.h"

class CheckedWrite;

// A lesson moved to another slot of its week (the analysed lesson dropped on
// a cell). A lesson standing in the way moves to the freed slot: the one the
// target cell shows or, when it shows none, the moved lesson's class's lesson
// in that slot. Undo puts both back; redo moves the same two again.
class MoveLesson : public EditCommand {
public:
    // What the source and target cells show.
    struct Move {
        QString lessonId; // the moved lesson, its class and teacher
        QString classId;
        QString teacherId;
        Slot from, to;
        Side side = Side::Class; // the grid it was dropped on, whose owner an empty target shows free
        QString shownId;         // the lesson the target cell shows, its class and teacher; empty for none
        QString shownClassId;
        QString shownTeacherId;
    };
    explicit MoveLesson(Move move) : move_(std::move(move)) {}

    void redo(TimetableSession& session) override;
    void undo(TimetableSession& session) override;
    bool undoneAlready(TimetableSession& session) const override;
    QString text() const override;
    Touched touched() const override;

private:
    void moveFirst(TimetableSession& session, CheckedWrite& write);
    // The change-history row of a run that takes the lesson from one slot to the other.
    LoggedEdit logged(EditStep step, Slot before, Slot after) const;

    Move move_;
    QString planId_; // the moved lesson's plan item, as the database held it
    // The lesson that gave way, found when the edit was first written.
    QString displacedId_, displacedClassId_, displacedTeacherId_;
    LessonNames names_, displacedNames_;
};

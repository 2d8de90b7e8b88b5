#pragma once

#include "adjust/edit_command.h"

class SlotCensus;

// A lesson moved to another slot of its week (the analysed lesson dropped on
// a cell). A lesson standing in the way moves to the freed slot: the one the
// target cell shows or, when it shows none, the moved lesson's class's lesson
// in that slot. Undo puts both back; redo moves the same two again.
class MoveLesson : public EditCommand {
public:
    struct Move {
        QString lessonId; // the moved lesson
        QString classId;  // its class and teacher
        QString teacherId;
        Slot from, to;
        bool classSide = true; // moved on the class grid, else on the teacher grid
        QString shownAtTarget; // the lesson the target cell shows; empty for none
    };
    explicit MoveLesson(Move move) : move_(std::move(move)) {}

    void redo(QX_MavoWin& control) override;
    void undo(QX_MavoWin& control) override;
    QString text() const override;
    Touched touched() const override;

private:
    void moveFirst(QX_MavoWin& control, const SlotCensus& before);

    Move move_;
    bool movedOnce_ = false;
    // Found when the edit was first written.
    QString displacedId_, displacedClassId_, displacedTeacherId_;
    LessonNames names_, displacedNames_;
};

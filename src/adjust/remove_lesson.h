#pragma once

#include "adjust/edit_command.h"

// The removal of a lesson from its slot (the delete button under a grid).
// Undo inserts the same row again: the same id, plan item, weekday and period.
class RemoveLesson : public EditCommand {
public:
    RemoveLesson(QString lessonId, Slot slot) : lessonId_(std::move(lessonId)), slot_(slot) {}

    void redo(QX_MavoWin& control) override;
    void undo(QX_MavoWin& control) override;
    QString text() const override;
    Touched touched() const override;

private:
    QString lessonId_;
    Slot slot_;
    // The lesson's plan item, class and teacher as the database held them
    // when it was first removed.
    QString planId_, classId_, teacherId_;
    LessonNames names_;
    bool removedOnce_ = false;
};

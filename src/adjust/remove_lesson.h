#pragma once

#include "adjust/edit_command.h"

// The removal of a lesson from its slot (the delete button under a grid).
// Undo inserts the same row again: the same id, plan item, weekday and period.
class RemoveLesson : public EditCommand {
public:
    // The lesson as its cell shows it: id, class and teacher, slot.
    RemoveLesson(QString lessonId, QString classId, QString teacherId, Slot slot)
        : lessonId_(std::move(lessonId)), classId_(std::move(classId)), teacherId_(std::move(teacherId)), slot_(slot)
    {}

    void redo(QX_MavoWin& control) override;
    void undo(QX_MavoWin& control) override;
    bool undoneAlready(QX_MavoWin& control) const override;
    QString text() const override;
    Touched touched() const override;

private:
    QString lessonId_, classId_, teacherId_;
    Slot slot_;
    // The lesson's plan item as the database held it when it was first removed.
    QString planId_;
    LessonNames names_;
    bool removedOnce_ = false;
};

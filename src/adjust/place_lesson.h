#pragma once

#include "adjust/edit_command.h"

// A new lesson of a plan item in a slot (a plan item dropped on a cell).
// Undo deletes it; redo inserts the same row again.
class PlaceLesson : public EditCommand {
public:
    struct Lesson {
        QString id;     // the new lesson's id
        QString planId; // its plan item
        QString classId;
        QString teacherId;
        Slot slot;
        LessonNames names;
    };
    explicit PlaceLesson(Lesson lesson) : lesson_(std::move(lesson)) {}

    void redo(QX_MavoWin& control) override;
    void undo(QX_MavoWin& control) override;
    bool undoneAlready(QX_MavoWin& control) const override;
    QString text() const override;
    Touched touched() const override;

private:
    Lesson lesson_;
    bool placedOnce_ = false;
};

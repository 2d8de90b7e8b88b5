#pragma once

#include "state/edit_command.h"
#include "store/change_log.h"
#include "store/edit_names.h"

struct PlacedLesson;

// The edits that add one lesson's row to the timetable or take it away: a
// new lesson, whose undo takes it away again, and a removal, whose undo puts
// it back. Both write the same row each time: the same id, plan item,
// weekday and period.
class LessonRowEdit : public EditCommand {
public:
    struct Lesson {
        QString id;
        QString planId; // empty until a removal has read it
        QString classId;
        QString teacherId;
        Slot slot;
        LessonNames names;
    };

    Touched touched() const override;

protected:
    LessonRowEdit(Lesson lesson, EditKind kind) : lesson_(std::move(lesson)), kind_(kind) {}

    // Inserts the row as one checked write: the plan item has an hour left
    // and no other lesson holds the id.
    void insertRow(TimetableSession& session, EditStep step);
    // Deletes the row as one checked write: the lesson still stands in its
    // slot. A removal's first run takes its plan item, class, teacher and
    // names from the row as the database holds it.
    void deleteRow(TimetableSession& session, EditStep step);
    // Whether the row is in the timetable, in its slot alone (true), or gone
    // (false); neither when it stands elsewhere.
    bool rowIn(TimetableSession& session, bool placed) const;

    Lesson lesson_;

private:
    EditKind kind_;
};

// A new lesson of a plan item in a slot (a plan item dropped on a cell).
// Undo deletes it; redo inserts the same row again.
class PlaceLesson : public LessonRowEdit {
public:
    explicit PlaceLesson(Lesson lesson) : LessonRowEdit(std::move(lesson), EditKind::Place) {}

    void redo(TimetableSession& session) override;
    void undo(TimetableSession& session) override;
    bool undoneAlready(TimetableSession& session) const override;
    QString text() const override;
};

// The removal of a lesson from its slot (the delete button under a grid).
// Undo inserts the same row again: the same id, plan item, weekday and period.
class RemoveLesson : public LessonRowEdit {
public:
    // The lesson as its cell shows it: id, class and teacher, slot.
    RemoveLesson(QString lessonId, QString classId, QString teacherId, Slot slot)
        : LessonRowEdit({.id = std::move(lessonId),
                         .planId = {},
                         .classId = std::move(classId),
                         .teacherId = std::move(teacherId),
                         .slot = slot,
                         .names = {}},
                        EditKind::Remove)
    {}

    void redo(TimetableSession& session) override;
    void undo(TimetableSession& session) override;
    bool undoneAlready(TimetableSession& session) const override;
    QString text() const override;
};

#pragma once

#include <QString>

// What a grid cell's or a plan row's Tag holds: four ids joined by single tab
// characters, in this order. A cell: its lesson (kcb.id), the lesson's class,
// teacher and course. A plan row: its plan item (jxjh.id), class, teacher
// and course.
struct CellTag {
    QString id;
    QString classId;
    QString teacherId;
    QString courseId;

    // Reads a tag; throws ControlError when it has fewer than four fields.
    static CellTag of(const QString& text);
    // The id of a tag (its first field) without reading the others.
    static QString idOf(const QString& text);
    QString text() const;

    // Whether an id can stand in a tag: a tab would split it into two fields
    // and a NUL would end it, so that an edit would act on another id than
    // the row's.
    static bool fits(const QString& id);
    // An id as a message names it, a tab shown as \t and a NUL as \0.
    static QString visible(const QString& id);
};

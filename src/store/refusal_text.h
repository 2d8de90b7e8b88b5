#pragma once

#include <QString>
#include <QStringList>

// The texts of the message boxes of refused edits.

// Another desk changed the timetable under the edit, for the given reason.
QString refusalMessage(const QString& reason);
// Nobody else changed the timetable since the screen was filled: the lessons
// in the way are ones the screen does not show.
QString unseenLessonsMessage(const QStringList& inTheWay);
// Two lessons of the timetable share the id the edit acts on.
QString duplicateIdMessage(const QString& lessonId);

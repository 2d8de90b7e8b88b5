#pragma once

#include "fet/fet_file.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <vector>

namespace fet {

// Which timetable the import creates; an empty text takes the default: the
// current school year ("2026-2027" from August on), term "1", and the
// file's institution name.
struct ImportOptions {
    QString schoolYear, term, name;
    QString fileName; // kept with the file's text
};

// Something of the file the tables cannot hold: how many, and the first few.
struct KeptAside {
    QString what;
    int count = 0;
    QStringList examples;
    int noted = 0; // activities, owners or kinds of constraint noted, of which examples are the first
};

struct ImportSummary {
    QString xnId, schoolYear, term, name;
    int weekdays = 0, periods = 0;
    int classes = 0, teachers = 0, courses = 0, planItems = 0, lessons = 0;
    int placedActivities = 0, unplacedActivities = 0;
    int teacherSettings = 0, classSettings = 0;
    std::vector<KeptAside> keptAside;

    // What the import prints, one line each.
    QStringList lines() const;
};

// How a teacher's short code (简码) is made from the name: the first
// character of every word, upper case, a number kept whole ("John Smith" JS,
// "Teacher 12" T12), or the first two of a name of one word ("Simone" SI,
// "张伟" 张伟); at most 8 characters.
QString shortCodeOf(const QString& teacherName);

// Writes the file as a new timetable, in one transaction: the timetable
// tables when the database has none of them, then sz_xn, sz_xn_rq, classes,
// teachers, courses, plan items, lessons and forbidden periods, and the
// file's text with the activity of every lesson (tables kbtz_fet_file and
// kbtz_fet_lesson, created when missing), so that the export can write the
// file back. Nothing is written when anything fails. Throws FetError.
ImportSummary importFet(QSqlDatabase db, const FetFile& file, const QString& text, const ImportOptions& options);

} // namespace fet

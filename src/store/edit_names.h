#pragma once


#include <QHash>
#include <QString>
#include <QStringList>

// The course, class and teacher of a lesson, as its edit names them.
struct LessonNames {
    QString course;
    QString className;
    QString teacher;

    QString text() const; // "数学 1班 A张"
};


class Connection;

// The names of plan items (course, class, teacher) by plan id, read for the
// description of an edit; an item without a row keeps empty names.
QHash<QString, LessonNames> readLessonNames(Connection& conn, const QStringList& planIds);

// The names of plan items as the analysis's tooltips need them, kept per
// connection: each item's names are read once, at the first clash that
// names it, so that analysing the lessons of one class or teacher again
// costs no statement. A new start (QxIni) reads them afresh.
class PlanNames {
public:
    QHash<QString, LessonNames> lookup(Connection& conn, const QStringList& planIds);
    void forget() { known_.clear(); }

private:
    QHash<QString, LessonNames> known_;
};

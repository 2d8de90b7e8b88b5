#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// What to print or export: all classes or some by id, all teachers or some
// by id; pages go classes first, in the order given ("all": by name).
struct ExportSelection {
    bool allClasses = false;
    QStringList classIds;
    bool allTeachers = false;
    QStringList teacherIds;

    bool empty() const { return !allClasses && !allTeachers && classIds.isEmpty() && teacherIds.isEmpty(); }
};

enum class ExportFormat { Pdf, Csv, Html };

// The header line of every page: the timetable and the day it was printed.
struct PageHeading {
    QString schoolYear, term, scheduleName;
    QDate printed = QDate::currentDate();

    // "2005-2006 学年 第 2 学期 课表"
    QString timetable() const;
};

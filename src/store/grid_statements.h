#pragma once

#include <QString>

// The two week grids: the periods of a day and the fill of a class's or a
// teacher's grid.
// Values are written into quoted literals with their single quotes doubled.
namespace sql {

// "...Equivalent": what SQLite and PostgreSQL run in place of the same-stem statement (sqlite_equivalents.h).

// The number of periods per day (one column, maxs).
QString periodCount(int dataType, const QString& schoolYear, const QString& term, const QString& scheduleName);

// Grid fill filters and the fill itself.
QString classFilter(const QString& classId);
QString teacherFilter(const QString& teacherId);
QString gridFill(const QString& xnId, const QString& filter);
// What SQLite and PostgreSQL run in its place (sqlite_equivalents.h): each
// "X right join (S) as A on C" written as "(S) as A left join X on C", which
// SQLite flattens instead of scanning S once per row of X.
QString gridFillEquivalent(const QString& xnId, const QString& filter);

} // namespace sql

#pragma once

#include <QString>

// The plan lists and the selectors above them: the plan view, the
// selectors' fills and the conditions that narrow both.
// Values are written into quoted literals with their single quotes doubled.
namespace sql {

// "...Equivalent": what SQLite and PostgreSQL run in place of the same-stem statement (sqlite_equivalents.h).

// The plan view: a derived table that can follow "select * from ".
QString planView(int dataType, const QString& xnId);
// What SQLite and PostgreSQL run in its place (sqlite_equivalents.h): the same rows, the
// placed hours counted per plan item instead of grouping all of kcb first.
QString planViewEquivalent(int dataType, const QString& xnId);

// A selector fill; the order column is left out when empty.
QString selectorFill(const QString& columns, const QString& table, const QString& condition,
                     const QString& orderColumn);

// Level and grade narrowing conditions, from the selectors' texts.
QString levelCondition(const QString& level);
QString gradeCondition(const QString& grade);

// Conditions of the plan lists.
QString classPlanCondition(const QString& classId);
QString teacherPlanCondition(const QString& teacherId);

// A plan list fill.
QString planListFill(const QString& planViewSql, const QString& condition);

} // namespace sql

#pragma once

#include <QString>

// The change history (kcb_log, see data/schema-*.sql).
// Values are written into quoted literals with their single quotes doubled.
namespace sql {

// One row of kcb_log; its sequence, time and database user are the
// columns' defaults. A weekday or period of 0 and an empty id are null.
struct ChangeLogRow {
    QString xnId, desk, step, kind, lessonId, planId, otherId;
    int beforeDay = 0, beforePeriod = 0, afterDay = 0, afterPeriod = 0;
};
QString appendChangeLog(const ChangeLogRow& row);
// The newest rows of a timetable's kcb_log, newest first, with the course,
// class and teacher names and the class id of each row's plan item; only
// those of one class or one teacher when its id is given.
QString recentChanges(const QString& xnId, int count, const QString& classId = {}, const QString& teacherId = {});

} // namespace sql

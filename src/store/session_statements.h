#pragma once

#include <QString>

// The session: the locks an edit takes, and what tells the control that
// another connection changed the timetable.
// Values are written into quoted literals with their single quotes doubled.
namespace sql {

// PostgreSQL: holds the edits of one timetable until the transaction ends.
// The key is the timetable id within the session's schema, so that
// timetables of the same id in two schemas of one database do not wait for
// each other; the space keeps it apart from other programs' advisory locks.
QString timetableEditLock(const QString& timetableId);
// SQLite: a write that changes nothing, so that a transaction already open
// takes the file's write lock now rather than at its first real write.
QString takeWriteLock();
// PostgreSQL: the schema of the kcb that the session's search path finds;
// no row when there is none.
QString timetableSchema();
// SQLite: a number that changes whenever another connection commits to the file.
QString dataVersion();
// PostgreSQL: the rows of kcb and the newest transaction that wrote one of
// them; any committed insert, update or delete changes the pair.
QString timetableRowsVersionPostgres();

} // namespace sql

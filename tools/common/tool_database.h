#pragma once

#include "common/timetable_choice.h"

#include <QSqlDatabase>
#include <QStringList>

// The options kbtz-check and kbtz-export share: the database (--db FILE or
// --pg CONNINFO) and the timetable (--year Y, --term T, --name N).
struct ToolDatabaseOptions {
    QString file, conninfo;
    TimetableWanted timetable;
};

// Takes args[i] (and its value) when it is one of the shared options and
// moves i past it; false when it is another argument. A missing value is
// an error in *error.
bool takeDatabaseOption(const QStringList& args, qsizetype& i, ToolDatabaseOptions& options, QString* error);

// Opens the database the options name (a SQLite file is never created) under
// the connection name; an invalid database with the reason in *error when it
// cannot be opened or the options name none or both.
QSqlDatabase openToolDatabase(const ToolDatabaseOptions& options, const QString& connectionName, QString* error);

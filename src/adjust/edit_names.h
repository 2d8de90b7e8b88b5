#pragma once

#include "adjust/edit_command.h"

#include <QHash>

class Connection;

// The names of plan items (course, class, teacher) by plan id, read for the
// description of an edit; an item without a row keeps empty names.
QHash<QString, LessonNames> readLessonNames(Connection& conn, const QStringList& planIds);

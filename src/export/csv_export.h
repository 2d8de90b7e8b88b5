#pragma once

#include "qxmavowin/export_selection.h"

#include <QByteArray>

struct TimetableRows;

// The selected lessons (week_pages.h: selectedLessons) as CSV in UTF-8 with a
// byte-order mark, so that spreadsheet programs read the Chinese text: a
// header row, then one row per lesson with weekday and period as stored,
// course, class, teacher and the lesson's id. Fields holding a comma, a
// quote or a line break are quoted; rows end in CR LF.
QByteArray timetableCsv(const TimetableRows& rows, const ExportSelection& selection);

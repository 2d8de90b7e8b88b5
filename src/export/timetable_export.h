#pragma once

#include "qxmavowin/export_selection.h"

class Connection;
class QPagedPaintDevice;

// Reads timetable xnId through the connection and writes the selection to
// one file: a PDF or HTML page per week, or CSV rows of its lessons.
// Returns the number of pages (PDF, HTML) or lessons (CSV) written. Throws ControlError for an empty selection, a class or teacher without
// a plan item in the timetable, or a file that cannot be written; DbError
// when a read fails.
int exportTimetable(Connection& conn, const QString& xnId, const PageHeading& heading, ExportFormat format,
                    const QString& file, const ExportSelection& selection);

// The same pages painted on a paged device the caller set up (a QPrinter
// after the print dialog).
void printTimetable(Connection& conn, const QString& xnId, const PageHeading& heading, QPagedPaintDevice& device,
                    const ExportSelection& selection);

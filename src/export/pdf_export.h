#pragma once

#include "qxmavowin/export_selection.h"
#include "export/week_pages.h"

#include <QMarginsF>
#include <vector>

// The PDF's pages: A4 landscape with these margins (millimetres) around the
// printable area WeekPageLayout fills.
inline const QMarginsF kPdfMarginsMm(10, 10, 10, 10);

// Writes the pages into one PDF file through Qt's own PDF writer. Throws
// ControlError when the file cannot be written.
void writeWeekPagesPdf(const QString& file, const std::vector<WeekPage>& pages, const PageHeading& heading);

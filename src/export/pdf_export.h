#pragma once

#include "export/week_pages.h"
#include "qxmavowin/export_selection.h"

#include <QMarginsF>
#include <vector>

// The PDF's pages: A4 landscape with these margins (millimetres) around the
// printable area WeekPageLayout fills.
inline const QMarginsF kPdfMarginsMm(10, 10, 10, 10);

// The pages as one PDF document, drawn by Qt's own PDF writer into memory:
// the writer reports no failed write of its own, so the caller writes the
// bytes to the file and sees every error. Throws ControlError when the pages
// cannot be painted.
QByteArray weekPagesPdf(const std::vector<WeekPage>& pages, const PageHeading& heading);

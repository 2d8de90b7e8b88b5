#pragma once

#include "export/week_pages.h"
#include "qxmavowin/export_selection.h"

#include <vector>

class QPagedPaintDevice;

// Paints one week per page on a paged device (a QPdfWriter, or a QPrinter
// the user chose) within its printable area, as WeekPageLayout places the
// parts: the header line (timetable, class or teacher, date printed), the
// grid in the control's colours with every lesson of a cell, and a footer
// when lessons have no cell. Returns false when the device cannot be
// painted on (a file that cannot be written).
bool paintWeekPages(QPagedPaintDevice& device, const std::vector<WeekPage>& pages, const PageHeading& heading);

// The fonts the pages are set in: WenQuanYi Micro Hei, then Noto CJK.
// Qt's PDF writer gives each glyph the lowest code point that maps to it;
// Noto CJK draws the Kangxi radicals with the ideographs' glyphs, so text
// searched, copied or extracted from its pages would read 一 as ⼀ (U+2F00).
// Micro Hei has no radicals; Noto still renders where it is missing.
QStringList pageFontFamilies();

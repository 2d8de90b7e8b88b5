#pragma once

#include "export/week_pages.h"
#include "qxmavowin/export_selection.h"

#include <vector>

// The pages as one self-contained HTML page (styles inline, no other file):
// each week a table like the control's grid under its header line, one
// printed page each (A4 landscape).
QString weekPagesHtml(const std::vector<WeekPage>& pages, const PageHeading& heading);

#pragma once

#include "qxmavowin/conflict_report.h"

// The report as kbtz-check prints it: a summary line, then each kind that
// occurs with its count, its entries and, under each, the lessons it names.
QString reportText(const ConflictReport& report, const QString& timetableTitle);

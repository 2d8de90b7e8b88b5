#pragma once

#include "qxmavowin/conflict_report.h"

class Connection;
class ControlState;

// Reads timetable xnId and lists every problem of it (see ProblemKind):
// clashes of a teacher or a class in one slot; lessons in a forbidden period
// of their teacher, class or course, read as the move analysis reads
// 不排课节 (the first settings row of each owner counts); lessons outside the
// weekdays 1-7 or beyond their day's periods (a weekday without a day
// setting has as many periods as the grids); plan items placed more often
// than their weekly hours, and those with hours left. Writes nothing; throws
// DbError when a read fails.
ConflictReport checkTimetable(Connection& conn, const QString& xnId);

// The same for the timetable the control's QxIni found; throws ControlError
// when it found none.
ConflictReport checkTimetable(ControlState& state);

#pragma once

#include <QString>

// SQLite stands in for the host's engine, and its planner runs some of the
// control's statements far slower than the engines they were written for
// (a right join of a subquery scanned once per row of the other side, a
// grouping of all of kcb for a handful of plan items, a full scan of kcb for
// an "or" of two indexed lookups, the teachers of every lesson collected to
// test a few). For those statements it runs an
// equivalent text that returns the same rows, in the same order wherever the
// statement orders them.
//
// PostgreSQL runs them too (Connection::setPostgresEquivalents): its
// planner copes with the texts as they are, but the equivalents save it the
// same work (kcb grouped as a whole for a few plan items, the teachers of
// every lesson collected for a plan item's clash set).
//
// The control keeps building and tracing its own texts; the connection asks
// here what to run instead. Each equivalent is built in the *_statements.cpp next
// to the statement it stands for:
//   sql::gridFill                    -> sql::gridFillEquivalent
//   sql::planListFill(sql::planView) -> sql::planListFill(sql::planViewEquivalent), both dialects
//   sql::clashSet                    -> sql::clashSetEquivalent
//
// A text is recognised only when it is exactly what the statement function
// builds for some values (it is rebuilt from the values read back and
// compared), and its free parts (the grid filter, the plan-list condition,
// the position condition) are exactly one of the forms the control builds.
// Anything else, including every text with a value that does not read back,
// runs as it is.

// The text to run in place of `text`, or an empty text when `text` has no
// equivalent.
QString sqliteEquivalent(const QString& text);

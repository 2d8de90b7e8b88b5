#pragma once

#include "store/recordset.h"

#include <QString>

// One statement as the control sent it, for the statement trace.
struct TraceEntry {
    enum class Op { Open, Execute };
    Op op = Op::Open;
    bool check = false; // not one of the control's own statements: a read of an edit's
                        // write-time check (see adjust/write_check.h), or what goes with
                        // an edit (its change-log row, its notification to other desks)
    QString text;       // the statement text the control built
    QString executed;   // the text actually run when it differs, else empty
    CursorType cursorType = CursorType::Unspecified;
    LockType lockType = LockType::Unspecified;
    CursorLocation cursorLocation = CursorLocation::Unspecified;
};

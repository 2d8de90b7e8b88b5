#pragma once

#include <QString>

class Connection;

// While one lives, every statement the control sends on the connection waits
// at most kLockWaitMs for a lock another program holds, then fails with the
// engine's lock error (PostgreSQL: lock_timeout; SQLite: the busy timeout).
// A shorter wait the host chose stays; the host's own setting comes back when
// the outermost bound ends, so the host's statements wait as it chose.
// Nested bounds (an action inside an action) cost nothing. Once a wait ran
// out, the later statements of the same action fail at once with the same
// reason, so that an action waits the bound once at most. Never throws: on
// a lost connection the statements themselves fail and say so.
class LockWaitBound {
public:
    static constexpr int kLockWaitMs = 5000;

    explicit LockWaitBound(Connection* conn);
    ~LockWaitBound();
    LockWaitBound(const LockWaitBound&) = delete;
    LockWaitBound& operator=(const LockWaitBound&) = delete;

private:
    Connection* conn_;
    QString restore_; // the host's setting, when it was changed
};

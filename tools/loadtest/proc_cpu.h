#pragma once

#include <QtGlobal>

// CPU seconds a process has used (Linux /proc), with those of its children
// that have ended and been waited for when withChildren is set; 0 when the
// process cannot be read.
double processCpuSeconds(qint64 pid, bool withChildren = false);
// The parent of a process; 0 when it cannot be read.
qint64 parentProcess(qint64 pid);

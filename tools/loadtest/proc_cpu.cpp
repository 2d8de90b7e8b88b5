#include "proc_cpu.h"

#include <QFile>
#include <QList>

#include <unistd.h>

namespace {

// The fields of /proc/PID/stat after the command name, from field 3 (state) on.
QList<QByteArray> statFields(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2).split(' ');
}

} // namespace

double processCpuSeconds(qint64 pid, bool withChildren)
{
    const QList<QByteArray> f = statFields(pid);
    if (f.size() < 15)
        return 0;
    // utime, stime, cutime, cstime are fields 14 to 17.
    qint64 ticks = f[11].toLongLong() + f[12].toLongLong();
    if (withChildren)
        ticks += f[13].toLongLong() + f[14].toLongLong();
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

qint64 parentProcess(qint64 pid)
{
    const QList<QByteArray> f = statFields(pid);
    return f.size() > 1 ? f[1].toLongLong() : 0;
}

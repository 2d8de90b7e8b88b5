#pragma once

#include "test_paths.h"

#include <QProcess>
#include <QString>
#include <QStringList>

// One run of a project tool: its exit code (-1 when it crashed or hung) and
// what it printed on both channels.
struct ToolRun {
    int exitCode = -1;
    QString out;
};

inline ToolRun runProgram(const QString& program, const QStringList& args, const QByteArray& input = {},
                          int timeoutMs = 60000)
{
    QProcess p;
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    ToolRun run;
    if (p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit)
        run.exitCode = p.exitCode();
    run.out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return run;
}

inline ToolRun runTool(const char* name, const QStringList& args, const QByteArray& input = {})
{
    return runProgram(QStringLiteral(KBTZ_BIN_DIR "/") + QLatin1String(name), args, input);
}

#pragma once

#include <QString>
#include <QStringList>

// One driver command line: blank-separated tokens; a token in double quotes
// may hold blanks. The raw text after the command name is kept for `sql`.
struct CommandLine {
    QString name;
    QStringList args;
    QString rest;
};

CommandLine parseCommandLine(const QString& line);

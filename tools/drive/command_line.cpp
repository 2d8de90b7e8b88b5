#include "drive/command_line.h"

CommandLine parseCommandLine(const QString& line)
{
    CommandLine out;
    QStringList tokens;
    QString current;
    bool inQuotes = false;
    bool hasToken = false;
    for (const QChar c : line) {
        if (inQuotes) {
            if (c == u'"')
                inQuotes = false;
            else
                current += c;
        } else if (c == u'"') {
            inQuotes = true;
            hasToken = true;
        } else if (c == u' ' || c == u'\t') {
            if (hasToken)
                tokens << current;
            current.clear();
            hasToken = false;
        } else {
            current += c;
            hasToken = true;
        }
    }
    if (hasToken)
        tokens << current;
    if (tokens.isEmpty())
        return out;
    out.name = tokens.takeFirst();
    out.args = tokens;
    const QString trimmed = line.trimmed();
    const qsizetype space = trimmed.indexOf(u' ');
    out.rest = space < 0 ? QString() : trimmed.mid(space + 1);
    return out;
}

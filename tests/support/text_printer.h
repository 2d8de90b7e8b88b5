#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

// GoogleTest prints a failed comparison of texts as the text itself, not as
// its UTF-16 code units. Included in every test source by the build.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QStringList& texts, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < texts.size(); ++i)
        *os << (i ? ", \"" : "\"") << texts[i].toStdString() << '"';
    *os << '}';
}

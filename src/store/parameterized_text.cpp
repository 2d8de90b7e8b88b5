#include "store/parameterized_text.h"

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'&'; }

// The position just past the quote that closes the quoted run starting at
// `open`, a doubled quote standing for itself; -1 when it does not close.
qsizetype closingQuote(const QString& text, qsizetype open)
{
    const QChar quote = text[open];
    for (qsizetype pos = open + 1; pos < text.size(); ++pos) {
        if (text[pos] != quote)
            continue;
        if (pos + 1 < text.size() && text[pos + 1] == quote) {
            ++pos;
            continue;
        }
        return pos + 1;
    }
    return -1;
}

} // namespace

std::optional<ParameterizedText> parameterized(const QString& text)
{
    ParameterizedText out;
    out.text.reserve(text.size());
    for (qsizetype pos = 0; pos < text.size();) {
        const QChar c = text[pos];
        if (c == u'$' || c == u';' || c == u'\\')
            return std::nullopt;
        if ((c == u'-' || c == u'/') && pos + 1 < text.size() && text[pos + 1] == (c == u'-' ? u'-' : u'*'))
            return std::nullopt;
        if (c != u'\'' && c != u'"') {
            out.text += c;
            ++pos;
            continue;
        }
        const qsizetype end = closingQuote(text, pos);
        if (end < 0)
            return std::nullopt;
        const QStringView quoted = QStringView(text).mid(pos, end - pos);
        if (c == u'"') {
            out.text += quoted; // a quoted name, never a value
        } else {
            if ((pos > 0 && isWordChar(text[pos - 1])) || quoted.contains(u'\\'))
                return std::nullopt;
            out.literals << quoted.toString();
            out.text += u'$' + QString::number(out.literals.size());
        }
        pos = end;
    }
    return out;
}

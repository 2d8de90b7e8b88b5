#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A statement with each quoted value in the place of a parameter: the text
// with $1, $2, ... where the values stood, in order, and the values as they
// were written there (quotes and doubled quotes included), so that they can
// be handed back to the server as the very literals the statement held.
struct ParameterizedText {
    QString text;
    QStringList literals;
};

// The parameterized form of `text`; nothing when the text holds anything a
// plain scan for quoted values could misread: parameters or dollar quotes
// ($), comments, several statements (;), a quote that does not close, a
// value with a backslash (whose meaning depends on the session), or a
// literal with a prefix (E'', U&'', B'', X'', N'').
std::optional<ParameterizedText> parameterized(const QString& text);

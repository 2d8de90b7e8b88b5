#pragma once

#include <QString>
#include <QVariant>

// A database value joined to empty text: null gives "", a whole number
// stored as a real prints without a fraction.
QString joinText(const QVariant& value);

// The leading-number rule: leading blanks skipped, an optional sign, digits
// and an optional "." fraction; reading stops at the first other character;
// text without a number gives 0.
double leadingNumber(const QString& text);

// A value written into a quoted SQL literal: every single quote doubled.
QString sqlEscaped(const QString& value);

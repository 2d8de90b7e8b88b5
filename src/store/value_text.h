#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// A database value joined to empty text: null gives "", a whole number
// stored as a real prints without a fraction.
QString joinText(const QVariant& value);

// The leading-number rule: leading blanks skipped, an optional sign, digits
// and an optional "." fraction; reading stops at the first other character;
// text without a number gives 0.
double leadingNumber(const QString& text);

// A value written into a quoted SQL literal: every single quote doubled.
QString sqlEscaped(const QString& value);

// The most weekly hours a plan item may have: every period of a week.
inline constexpr int kMaxWeeklyHours = 7 * 24;

// A plan item's 每周课时 as the control reads it: a whole number from 0 to
// kMaxWeeklyHours. Any other value (null, a fraction, a negative or huge
// number, text) is empty: the item then has no hours to place, and the
// conflict check reports it.
std::optional<int> weeklyHoursOf(const QVariant& value);

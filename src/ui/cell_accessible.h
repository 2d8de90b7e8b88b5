#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace qxui {

// Grid cells as assistive tools see them: a table cell named by weekday,
// period and what it shows, described by its state in words, focused when
// it is its grid's focus cell. A factory for QAccessible::installFactory.
QAccessibleInterface* cellAccessibility(const QString& className, QObject* object);

} // namespace qxui

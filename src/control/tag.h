#pragma once

#include <QString>
#include <QStringList>

// Cell and plan-item tags: fields joined by single tab characters.
namespace tag {

inline QStringList split(const QString& text) { return text.split(u'\t'); }

// Field n (from 0); throws ControlError when the tag has fewer fields.
QString field(const QString& text, int n);

// The last field.
QString lastField(const QString& text);

QString join(const QString& f0, const QString& f1, const QString& f2, const QString& f3);

// Whether an id can stand in a tag: a tab would split it into two fields and
// a NUL would end it, so that an edit would act on another id than the row's.
bool fits(const QString& id);
// An id as a message names it, a tab shown as \t and a NUL as \0.
QString visible(const QString& id);

} // namespace tag

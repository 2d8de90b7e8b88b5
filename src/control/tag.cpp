#include "control/tag.h"

#include "store/control_error.h"

namespace tag {

QString field(const QString& text, int n)
{
    const QStringList fields = split(text);
    if (n < 0 || n >= fields.size())
        throw ControlError(QStringLiteral("下标越界：标记“%1”没有第 %2 个字段").arg(text).arg(n));
    return fields[n];
}

QString lastField(const QString& text) { return split(text).constLast(); }

QString join(const QString& f0, const QString& f1, const QString& f2, const QString& f3)
{
    return f0 + u'\t' + f1 + u'\t' + f2 + u'\t' + f3;
}

bool fits(const QString& id) { return !id.contains(u'\t') && !id.contains(QChar(u'\0')); }

QString visible(const QString& id)
{
    QString text = id;
    return text.replace(u'\t', QStringLiteral("\\t")).replace(QChar(u'\0'), QStringLiteral("\\0"));
}

} // namespace tag

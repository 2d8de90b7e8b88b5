#include "state/tag.h"

#include "store/control_error.h"

#include <QStringList>

CellTag CellTag::of(const QString& text)
{
    const QStringList fields = text.split(u'\t');
    if (fields.size() < 4)
        throw ControlError(QStringLiteral("下标越界：标记“%1”没有第 %2 个字段").arg(text).arg(fields.size()));
    return {fields[0], fields[1], fields[2], fields[3]};
}

QString CellTag::idOf(const QString& text) { return text.section(u'\t', 0, 0); }

QString CellTag::text() const { return id + u'\t' + classId + u'\t' + teacherId + u'\t' + courseId; }

bool CellTag::fits(const QString& id) { return !id.contains(u'\t') && !id.contains(QChar(u'\0')); }

QString CellTag::visible(const QString& id)
{
    QString text = id;
    return text.replace(u'\t', QStringLiteral("\\t")).replace(QChar(u'\0'), QStringLiteral("\\0"));
}

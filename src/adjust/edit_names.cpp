#include "adjust/edit_names.h"

#include "store/connection.h"
#include "store/statements.h"
#include "store/value_text.h"

QString LessonNames::text() const
{
    QStringList parts;
    for (const QString& part : {course, className, teacher})
        if (!part.isEmpty())
            parts << part;
    return parts.join(u' ');
}

QHash<QString, LessonNames> readLessonNames(Connection& conn, const QStringList& planIds)
{
    QHash<QString, LessonNames> out;
    Recordset rs = conn.check(sql::planItemNames(planIds));
    for (; !rs.atEnd(); rs.MoveNext())
        out.insert(joinText(rs.field(0)),
                   LessonNames{joinText(rs.field(1)), joinText(rs.field(2)), joinText(rs.field(3))});
    return out;
}

#include "store/edit_names.h"

#include "store/adjust_statements.h"
#include "store/connection.h"
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

QHash<QString, LessonNames> PlanNames::lookup(Connection& conn, const QStringList& planIds)
{
    QStringList missing;
    for (const QString& id : planIds)
        if (!known_.contains(id))
            missing << id;
    if (!missing.isEmpty()) {
        const QHash<QString, LessonNames> read = readLessonNames(conn, missing);
        for (const QString& id : missing)
            known_.insert(id, read.value(id)); // an item without a row keeps empty names
    }
    QHash<QString, LessonNames> out;
    for (const QString& id : planIds)
        out.insert(id, known_.value(id));
    return out;
}

#include "export/csv_export.h"

#include "export/week_pages.h"
#include "store/timetable_rows.h"
#include "store/value_text.h"

#include <QStringList>

namespace {

QString field(const QString& value)
{
    if (!value.contains(u',') && !value.contains(u'"') && !value.contains(u'\n') && !value.contains(u'\r'))
        return value;
    QString quoted = value;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString row(const QStringList& fields)
{
    QStringList out;
    for (const QString& f : fields)
        out << field(f);
    return out.join(u',') + QStringLiteral("\r\n");
}

} // namespace

QByteArray timetableCsv(const TimetableRows& rows, const ExportSelection& selection)
{
    QString text = row({QStringLiteral("星期"), QStringLiteral("课节"), QStringLiteral("课程"), QStringLiteral("班级"),
                        QStringLiteral("教师"), QStringLiteral("课表编号")});
    for (const Lesson* lesson : selectedLessons(rows, selection)) {
        const PlanItem& plan = rows.planOf(*lesson);
        text += row({joinText(lesson->weekday), joinText(lesson->period), plan.courseName, plan.className,
                     plan.teacherName, lesson->id});
    }
    // A NUL ends the text for many readers of the file: names keep the rest.
    text.remove(QChar(u'\0'));
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

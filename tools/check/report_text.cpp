#include "report_text.h"

QString reportText(const ConflictReport& report, const QString& timetableTitle)
{
    QString text = timetableTitle + QStringLiteral("：") + reportSummary(report) + u'\n';
    for (ProblemKind kind : kProblemKinds) {
        if (report.count(kind) == 0)
            continue;
        text += QStringLiteral("%1（%2）\n").arg(kindTitle(kind)).arg(report.count(kind));
        for (const Problem& p : report.problems) {
            if (p.kind != kind)
                continue;
            if (kind == ProblemKind::HoursLeft) {
                text += QStringLiteral("  %1：%2\n").arg(p.lessons.front().describe(), p.detail);
                continue;
            }
            text += QStringLiteral("  %1\n").arg(p.detail);
            for (const LessonRef& l : p.lessons)
                text += QStringLiteral("    %1 [%2]\n").arg(l.describe(), l.lessonId);
        }
    }
    return text;
}

#include "gen/school.h"

#include <QSet>

namespace gen {

Summary summarize(const School& school)
{
    Summary summary;
    summary.classes = static_cast<int>(school.classes.size());
    summary.teachers = static_cast<int>(school.teachers.size());
    QSet<QString> mainPlans;
    for (const PlanRow& p : school.plans) {
        if (p.xnId != school.mainXnId)
            continue;
        mainPlans.insert(p.id);
        ++summary.planItems;
        summary.hoursLeft += p.hours;
    }
    for (const LessonRow& l : school.lessons) {
        if (mainPlans.contains(l.planId)) {
            ++summary.lessons;
            --summary.hoursLeft;
        }
    }
    return summary;
}

void addDays(School& school, const QString& xnId, int days, int morning, int afternoon, int evening)
{
    for (int weekday = 1; weekday <= 7; ++weekday) {
        const bool teaching = weekday <= days;
        school.days.push_back({xnId, weekday, QString::number(teaching ? morning : 0),
                               QString::number(teaching ? afternoon : 0), QString::number(teaching ? evening : 0)});
    }
}

QVariant nullInt() { return QVariant(QMetaType::fromType<int>()); }
QVariant nullText() { return QVariant(QMetaType::fromType<QString>()); }

} // namespace gen

#include "gen/forbidden_text.h"

#include <QStringList>

namespace gen {

QString forbiddenText(const std::vector<ForbiddenDay>& days)
{
    QString text;
    for (const ForbiddenDay& day : days) {
        QStringList periods;
        for (int p : day.periods)
            periods << QString::number(p);
        text += QString::number(day.weekday) + u':' + periods.join(u'\t') + u'/';
    }
    return text;
}

QVariant noPeriods() { return QVariant(QString::fromLatin1("")); }

} // namespace gen

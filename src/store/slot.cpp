#include "store/slot.h"

QString weekdayText(int weekday)
{
    static const QString kDays[] = {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
                                    QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"),
                                    QStringLiteral("日")};
    const QString day = weekday >= 1 && weekday <= 7 ? kDays[weekday - 1] : QString::number(weekday);
    return QStringLiteral("星期") + day;
}

QString slotText(Slot slot) { return QStringLiteral("%1第%2节").arg(weekdayText(slot.weekday)).arg(slot.period); }

#include "adjust/slot.h"

QString slotText(Slot slot)
{
    static const QString kDays[] = {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
                                    QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"),
                                    QStringLiteral("日")};
    const QString day =
        slot.weekday >= 1 && slot.weekday <= 7 ? kDays[slot.weekday - 1] : QString::number(slot.weekday);
    return QStringLiteral("星期%1第%2节").arg(day).arg(slot.period);
}

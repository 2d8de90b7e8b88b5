#include "store/forbidden_periods.h"

#include "store/value_text.h"

#include <QStringView>

namespace {

// The weekday a settings entry names, read by the leading-number rule;
// 0 for anything that is not a whole number 1 to 7.
int weekdayOf(QStringView part)
{
    const double d = leadingNumber(part.toString());
    for (int day = 1; day <= 7; ++day)
        if (d == day)
            return day;
    return 0;
}

} // namespace

bool ForbiddenEntry::names(int period) const
{
    if (!hasPeriods || period < 1)
        return false;
    // "\t" + periods + "\t" contains "\t" + k + "\t", without building either text.
    const QString k = QString::number(period);
    const QStringView all(periods);
    qsizetype from = 0;
    while (from <= all.size()) {
        const qsizetype tab = all.indexOf(u'\t', from);
        const qsizetype end = tab < 0 ? all.size() : tab;
        if (all.sliced(from, end - from) == k)
            return true;
        if (tab < 0)
            break;
        from = tab + 1;
    }
    return false;
}

std::vector<ForbiddenEntry> parseForbiddenPeriods(const QString& value)
{
    std::vector<ForbiddenEntry> entries;
    const QStringView text(value);
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype slash = text.indexOf(u'/', from);
        if (slash < 0)
            slash = text.size();
        const QStringView entry = text.sliced(from, slash - from);
        from = slash + 1;
        if (entry.isEmpty())
            continue;

        // Field 0 is the weekday, field 1 the periods; further fields are ignored.
        const qsizetype colon = entry.indexOf(u':');
        const int weekday = weekdayOf(colon < 0 ? entry : entry.first(colon));
        if (weekday == 0)
            continue;
        ForbiddenEntry parsed;
        parsed.weekday = weekday;
        if (colon >= 0) {
            const QStringView rest = entry.sliced(colon + 1);
            const qsizetype next = rest.indexOf(u':');
            parsed.hasPeriods = true;
            parsed.periods = (next < 0 ? rest : rest.first(next)).toString();
        }
        entries.push_back(std::move(parsed));
    }
    return entries;
}

bool periodForbidden(const QString& value, int weekday, int period)
{
    for (const ForbiddenEntry& entry : parseForbiddenPeriods(value))
        if (entry.weekday == weekday && entry.names(period))
            return true;
    return false;
}

// 不排课节 values are free text in the settings tables. Any value must parse
// without failing, and every cell must be judged as a plain reading of the
// format judges it: split at "/", skip empty entries, field 0 before ":" a
// weekday 1 to 7, field 1 a tab-separated list matched as text.
#include "store/forbidden_periods.h"
#include "store/value_text.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

struct PlainEntry {
    double weekday;
    bool hasPeriods;
    QString periods; // with a tab on either side
};

std::vector<PlainEntry> plainReading(const QString& value)
{
    std::vector<PlainEntry> out;
    for (const QString& entry : value.split(u'/')) {
        if (entry.isEmpty())
            continue;
        const QStringList parts = entry.split(u':');
        out.push_back(
            {leadingNumber(parts[0]), parts.size() > 1, parts.size() > 1 ? u'\t' + parts[1] + u'\t' : QString()});
    }
    return out;
}

bool plainForbids(const std::vector<PlainEntry>& entries, int weekday, int period)
{
    if (weekday < 1 || weekday > 7 || period < 1)
        return false;
    const QString k = u'\t' + QString::number(period) + u'\t';
    for (const PlainEntry& e : entries)
        if (e.weekday == weekday && e.hasPeriods && e.periods.contains(k))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks one cell for the whole-value check below.
    const int pickWeekday = data[0] % 9;
    const int pickPeriod = data[0] / 9 % 23 - 1;
    const QString value = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    const std::vector<ForbiddenEntry> entries = parseForbiddenPeriods(value);
    const std::vector<PlainEntry> plain = plainReading(value);
    if (entries.size() > plain.size())
        std::abort();
    for (const ForbiddenEntry& entry : entries) {
        if (entry.weekday < 1 || entry.weekday > 7)
            std::abort();
        if (!entry.hasPeriods && entry.names(1))
            std::abort();
    }
    for (int weekday = 0; weekday <= 8; ++weekday) {
        for (int period = -1; period <= 21; ++period) {
            bool parsed = false;
            for (const ForbiddenEntry& entry : entries)
                parsed = parsed || (entry.weekday == weekday && entry.names(period));
            if (parsed != plainForbids(plain, weekday, period))
                std::abort();
        }
    }
    if (periodForbidden(value, pickWeekday, pickPeriod) != plainForbids(plain, pickWeekday, pickPeriod))
        std::abort();
    return 0;
}

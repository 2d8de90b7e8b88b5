#include "store/day_periods.h"

#include "store/connection.h"
#include "store/optional_schema.h"
#include "store/slot.h"
#include "store/timetable_statements.h"
#include "store/value_text.h"

#include <cmath>

namespace {

// A weekday as a whole number, a part of the day (上午, 下午, 晚上) rounded,
// as the conflict check reads them; empty for null or no number.
std::optional<int> number(const QVariant& value, bool rounded)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const double d = joinText(value).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::abs(d) > 1e6 || (!rounded && d != std::trunc(d)))
        return std::nullopt;
    return static_cast<int>(std::nearbyint(d));
}

} // namespace

bool DayPeriods::weekdayColumn() { return conn_.optionalSchema().dayWeekday; }

int DayPeriods::of(const QString& xnId, int gridRows, int weekday)
{
    if (!weekdayColumn() || weekday < 1 || weekday > 7)
        return gridRows;
    if (!counts_ || countsOf_ != xnId) {
        std::array<std::optional<int>, 7> counts;
        for (Recordset rs = conn_.check(sql::timetableDays(xnId, true)); !rs.atEnd(); rs.MoveNext()) {
            const auto day = number(rs.field(0), false);
            const auto morning = number(rs.field(1), true);
            const auto afternoon = number(rs.field(2), true);
            const auto evening = number(rs.field(3), true);
            if (!day || *day < 1 || *day > 7 || !morning || !afternoon || !evening)
                continue;
            auto& count = counts[static_cast<size_t>(*day - 1)];
            count = std::max(count.value_or(0), *morning + *afternoon + *evening);
        }
        counts_ = counts;
        countsOf_ = xnId;
    }
    return (*counts_)[static_cast<size_t>(weekday - 1)].value_or(gridRows);
}

QString dayWithoutPeriodText(int weekday, int periods)
{
    if (periods <= 0)
        return weekdayText(weekday) + QStringLiteral("没有课节");
    return QStringLiteral("%1只有 %2 节").arg(weekdayText(weekday)).arg(periods);
}

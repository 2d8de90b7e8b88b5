#include "store/timetable_rows.h"

#include "store/connection.h"
#include "store/control_error.h"
#include "store/timetable_statements.h"
#include "store/value_text.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace {

Recordset openRead(Connection& conn, const QString& text)
{
    return conn.open(text, CursorType::Static, LockType::ReadOnly);
}

// A day setting's part as the period count reads it (cint: a number,
// rounded); empty for null or text that is no number, which leaves the
// whole day out of the count as a null sum does.
std::optional<int> partPeriods(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const double number = joinText(value).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number) || std::abs(number) > 1e6)
        return std::nullopt;
    return static_cast<int>(std::nearbyint(number));
}

} // namespace

std::optional<int> wholeNumberOf(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    // Engines return integer columns as integers: no text to read.
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong: {
        const qlonglong number = value.toLongLong();
        if (number < -1000000000 || number > 1000000000)
            return std::nullopt;
        return static_cast<int>(number);
    }
    default: break;
    }
    bool ok = false;
    const double number = joinText(value).trimmed().toDouble(&ok);
    if (!ok || number != std::trunc(number) || std::abs(number) > 1e9)
        return std::nullopt;
    return static_cast<int>(number);
}

int TimetableRows::periodsOf(int weekday) const
{
    if (weekday < 1 || weekday > 7)
        return 0;
    return dayPeriods[static_cast<size_t>(weekday - 1)].value_or(gridPeriods);
}

QString timetableTitle(const QString& schoolYear, const QString& term, const QString& scheduleName)
{
    return QStringLiteral("%1 学年 第 %2 学期 %3").arg(schoolYear, term, scheduleName);
}

TimetableRows readTimetableRows(Connection& conn, const QString& xnId)
{
    TimetableRows rows;
    rows.xnId = xnId;

    QHash<QString, size_t> planIndex;
    for (Recordset rs = openRead(conn, sql::timetablePlanItems(xnId)); !rs.atEnd(); rs.MoveNext()) {
        PlanItem item;
        item.id = joinText(rs.field(0));
        item.classId = joinText(rs.field(1));
        item.teacherId = joinText(rs.field(2));
        item.courseId = joinText(rs.field(3));
        item.weeklyHours = rs.field(4);
        item.className = joinText(rs.field(5));
        item.teacherName = joinText(rs.field(6));
        item.courseName = joinText(rs.field(7));
        item.courseShortName = joinText(rs.field(8));
        planIndex.insert(item.id, rows.plans.size());
        rows.plans.push_back(std::move(item));
    }

    for (Recordset rs = openRead(conn, sql::timetableLessons(xnId)); !rs.atEnd(); rs.MoveNext()) {
        // The join returns only lessons of the timetable's plan items.
        const auto plan = planIndex.constFind(joinText(rs.field(1)));
        if (plan == planIndex.cend())
            continue;
        rows.lessons.push_back({joinText(rs.field(0)), *plan, rs.field(2), rs.field(3)});
    }

    for (Recordset rs = openRead(conn, sql::timetableDays(xnId, conn.optionalSchema().dayWeekday)); !rs.atEnd();
         rs.MoveNext()) {
        const auto morning = partPeriods(rs.field(1));
        const auto afternoon = partPeriods(rs.field(2));
        const auto evening = partPeriods(rs.field(3));
        if (!morning || !afternoon || !evening)
            continue;
        const int periods = *morning + *afternoon + *evening;
        rows.gridPeriods = std::max(rows.gridPeriods, periods);
        const std::optional<int> weekday = wholeNumberOf(rs.field(0));
        if (!weekday || *weekday < 1 || *weekday > 7)
            continue;
        auto& day = rows.dayPeriods[static_cast<size_t>(*weekday - 1)];
        day = std::max(day.value_or(periods), periods);
    }
    return rows;
}

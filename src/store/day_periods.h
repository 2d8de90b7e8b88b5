#pragma once

#include <QString>
#include <array>
#include <optional>

class Connection;

// The periods each weekday offers. Where the day settings (sz_xn_rq) have
// their weekday column, a day's setting gives that weekday its own count
// (the sample gives Saturday and Sunday none); a weekday without a setting,
// and every day of a database without the column, keeps the grids' rows.
// Whether the column is there is the connection's to know (optionalSchema);
// the counts are read once per timetable.
class DayPeriods {
public:
    explicit DayPeriods(Connection& conn) : conn_(conn) {}

    bool weekdayColumn();
    // Periods of weekday 1..7 of timetable xnId whose grids have gridRows rows.
    int of(const QString& xnId, int gridRows, int weekday);
    // A new start (QxIni): the counts are read again at the next need.
    void forget() { counts_.reset(); }

private:
    Connection& conn_;
    std::optional<std::array<std::optional<int>, 7>> counts_;
    QString countsOf_;
};

// Why a cell past its day's periods takes no lesson: "星期六没有课节",
// "星期五只有 6 节".
QString dayWithoutPeriodText(int weekday, int periods);

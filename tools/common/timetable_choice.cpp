#include "common/timetable_choice.h"

#include "store/connection.h"
#include "store/timetable_statements.h"
#include "store/value_text.h"

#include <QStringList>
#include <vector>

namespace {

const TimetableWanted kHostTimetable{QStringLiteral("2005-2006"), QStringLiteral("2"), QStringLiteral("课表")};

bool matches(const TimetableName& t, const TimetableWanted& w)
{
    return (w.schoolYear.isEmpty() || t.schoolYear == w.schoolYear) && (w.term.isEmpty() || t.term == w.term) &&
           (w.name.isEmpty() || t.name == w.name);
}

QString described(const TimetableWanted& w)
{
    QStringList parts;
    for (const QString& p : {w.schoolYear, w.term, w.name})
        parts << (p.isEmpty() ? QStringLiteral("*") : p);
    return parts.join(u'/');
}

} // namespace

std::optional<TimetableName> chooseTimetable(Connection& conn, const TimetableWanted& wanted, QString* error)
{
    std::vector<TimetableName> fitting;
    for (Recordset rs = conn.open(sql::allTimetables(), CursorType::Static, LockType::ReadOnly); !rs.atEnd();
         rs.MoveNext()) {
        TimetableName t{joinText(rs.field(0)), joinText(rs.field(1)), joinText(rs.field(2)), joinText(rs.field(3))};
        if (matches(t, wanted))
            fitting.push_back(std::move(t));
    }
    const bool askedNothing = wanted.schoolYear.isEmpty() && wanted.term.isEmpty() && wanted.name.isEmpty();
    if (fitting.size() > 1 && askedNothing) {
        std::erase_if(fitting, [](const TimetableName& t) { return !matches(t, kHostTimetable); });
        if (fitting.empty()) {
            *error =
                QStringLiteral(
                    "the database holds several timetables and none is %1; choose one with --year, --term and --name")
                    .arg(described(kHostTimetable));
            return std::nullopt;
        }
    }
    if (fitting.size() == 1)
        return fitting.front();
    if (fitting.empty())
        *error = askedNothing ? QStringLiteral("the database holds no timetable (sz_xn is empty)")
                              : QStringLiteral("no timetable %1 in the database").arg(described(wanted));
    else
        *error = QStringLiteral("%1 timetables match %2; add --year, --term or --name")
                     .arg(fitting.size())
                     .arg(described(askedNothing ? kHostTimetable : wanted));
    return std::nullopt;
}

#include "fet/fet_export.h"

#include "fet/fet_file.h"
#include "store/connection.h"
#include "store/value_text.h"

#include <QXmlStreamReader>
#include <algorithm>
#include <map>

namespace fet {

namespace {

QString q(const QString& value) { return sqlEscaped(value); }

// Where the text of one child element stands in the file.
struct TextRange {
    qsizetype begin = -1, end = -1;
    bool found() const { return begin >= 0; }
};

// A ConstraintActivityPreferredStartingTime as it stands in the file.
struct StartElement {
    int activityId = 0;
    double weight = 0;
    bool active = true;
    TextRange day, hour, locked;
    QString dayName, hourName; // as read, entities resolved
};

// Every starting-time constraint of the file with the places of its day,
// hour and lock. The file has been read whole by readFetText before, so it
// is well-formed here.
std::vector<StartElement> startElements(const QString& text)
{
    const qsizetype bom = bomLength(text);
    QXmlStreamReader xml(text.mid(bom));
    std::vector<StartElement> found;
    StartElement* current = nullptr;
    qsizetype contentBegin = 0;
    QString content;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (xml.name() == QLatin1String("ConstraintActivityPreferredStartingTime")) {
                found.emplace_back();
                current = &found.back();
            }
            contentBegin = bom + xml.characterOffset();
            content.clear();
            break;
        case QXmlStreamReader::Characters: content += xml.text(); break;
        case QXmlStreamReader::EndElement: {
            if (!current)
                break;
            const QStringView name = xml.name();
            if (name == QLatin1String("ConstraintActivityPreferredStartingTime")) {
                current = nullptr;
                break;
            }
            // The text ends where the end tag "</name>" begins.
            const TextRange range{contentBegin, text.lastIndexOf(QLatin1String("</"), bom + xml.characterOffset() - 1)};
            if (name == QLatin1String("Activity_Id"))
                current->activityId = content.trimmed().toInt();
            else if (name == QLatin1String("Weight_Percentage"))
                current->weight = content.trimmed().toDouble();
            else if (name == QLatin1String("Active"))
                current->active = content.trimmed() == QLatin1String("true");
            else if (name == QLatin1String("Preferred_Day"))
                current->day = range, current->dayName = content;
            else if (name == QLatin1String("Preferred_Hour"))
                current->hour = range, current->hourName = content;
            else if (name == QLatin1String("Permanently_Locked"))
                current->locked = range;
            break;
        }
        default: break;
        }
    }
    return found;
}

struct Placed {
    int weekday = 0, period = 0;
    bool present = false;
};

} // namespace

FetExport exportFet(Connection& conn, const QString& xnId)
{
    if (!conn.optionalSchema().fetFiles)
        throw FetError(QStringLiteral("the database has no FET import (tables kbtz_fet_file, kbtz_fet_lesson)"));
    Recordset file =
        conn.open(QStringLiteral("select bom,content from kbtz_fet_file where xn_id='") + q(xnId) + QStringLiteral("'"),
                  CursorType::Static, LockType::ReadOnly);
    if (file.atEnd())
        throw FetError(QStringLiteral("timetable %1 was not imported from a FET file").arg(xnId));
    FetExport out;
    const QString original = (file.field(0).toInt() ? QString(QChar(0xFEFF)) : QString()) + joinText(file.field(1));
    const FetFile fet = readFetText(original);

    std::map<int, std::vector<Placed>> lessons;
    for (Recordset rs = conn.open(QStringLiteral("select kbtz_fet_lesson.activity_id,kcb.星期,kcb.课节 from "
                                                 "kbtz_fet_lesson left join kcb on kcb.id=kbtz_fet_lesson.kcb_id "
                                                 "where kbtz_fet_lesson.xn_id='") +
                                      q(xnId) + QStringLiteral("'"),
                                  CursorType::Static, LockType::ReadOnly);
         !rs.atEnd(); rs.MoveNext())
        lessons[rs.field(0).toInt()].push_back(
            {rs.field(1).toInt(), rs.field(2).toInt(), !rs.field(1).isNull() && !rs.field(2).isNull()});

    std::map<int, int> duration;
    for (const Activity& a : fet.activities)
        duration[a.id] = a.duration;

    // The start each activity has now, where it can be written.
    std::map<int, FetTime> now;
    for (auto& [activity, placed] : lessons) {
        ++out.activities;
        std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
            return std::tie(a.weekday, a.period) < std::tie(b.weekday, b.period);
        });
        QString reason;
        if (std::any_of(placed.begin(), placed.end(), [](const Placed& p) { return !p.present; }) ||
            static_cast<int>(placed.size()) != duration[activity])
            reason = QStringLiteral("%1 of its %2 lessons are in the timetable")
                         .arg(std::count_if(placed.begin(), placed.end(), [](const Placed& p) { return p.present; }))
                         .arg(duration[activity]);
        for (size_t k = 1; reason.isEmpty() && k < placed.size(); ++k)
            if (placed[k].weekday != placed[0].weekday || placed[k].period != placed[0].period + static_cast<int>(k))
                reason = QStringLiteral("its lessons are not consecutive periods of one day");
        FetTime start;
        if (reason.isEmpty() && !fet.week.timeOf(placed[0].weekday, placed[0].period, &start))
            reason = QStringLiteral("weekday %1 period %2 is not in the file's week")
                         .arg(placed[0].weekday)
                         .arg(placed[0].period);
        if (reason.isEmpty() && start.hour + duration[activity] > fet.week.fetHours)
            reason = QStringLiteral("its lessons run from the morning into the afternoon");
        if (reason.isEmpty())
            now.emplace(activity, start);
        else
            out.unwritable.push_back({activity, reason});
    }

    // Each activity's start is the first active constraint of weight 100, as the import read it.
    struct Replacement {
        TextRange range;
        QString text;
    };
    std::vector<Replacement> replacements;
    std::map<int, bool> seen;
    for (const StartElement& e : startElements(original)) {
        if (!e.active || e.weight < 100 || e.dayName.isEmpty() || e.hourName.isEmpty() || seen[e.activityId])
            continue;
        seen[e.activityId] = true;
        const auto it = now.find(e.activityId);
        if (it == now.end())
            continue;
        const QString day = fet.dayNames[it->second.day], hour = fet.hourNames[it->second.hour];
        if (e.dayName == day && e.hourName == hour)
            continue;
        ++out.moved;
        replacements.push_back({e.day, day.toHtmlEscaped()});
        replacements.push_back({e.hour, hour.toHtmlEscaped()});
        if (e.locked.found())
            replacements.push_back({e.locked, QStringLiteral("false")});
    }
    std::sort(replacements.begin(), replacements.end(),
              [](const Replacement& a, const Replacement& b) { return a.range.begin < b.range.begin; });
    qsizetype from = 0;
    for (const Replacement& r : replacements) {
        out.text += QStringView(original).mid(from, r.range.begin - from);
        out.text += r.text;
        from = r.range.end;
    }
    out.text += QStringView(original).mid(from);
    return out;
}

} // namespace fet

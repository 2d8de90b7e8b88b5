#include "fet/fet_file.h"

#include <QStringDecoder>
#include <QXmlStreamReader>
#include <cmath>
#include <set>

namespace fet {

namespace {

// One element with its own text and its child elements, as far as this
// reader needs them (activities, constraints and students sets are small).
struct Node {
    QString name, text;
    qint64 line = 0;
    std::vector<Node> children;

    const Node* child(QLatin1StringView childName) const
    {
        for (const Node& c : children)
            if (c.name == childName)
                return &c;
        return nullptr;
    }
    QString childText(QLatin1StringView childName) const
    {
        const Node* c = child(childName);
        return c ? c->text.trimmed() : QString();
    }
    // A name as the file spells it: FET tells "HEN" from "HEN ".
    QString childName(QLatin1StringView childName) const
    {
        const Node* c = child(childName);
        return c ? c->text : QString();
    }
    QStringList childNames(QLatin1StringView childName) const
    {
        QStringList names;
        for (const Node& c : children)
            if (c.name == childName)
                names << c.text;
        return names;
    }
};

[[noreturn]] void fail(const Node& node, const QString& problem)
{
    throw FetError(QStringLiteral("<%1> at line %2: %3").arg(node.name).arg(node.line).arg(problem));
}

class Reader {
public:
    explicit Reader(const QString& text) : xml_(text) {}

    // Moves to the next start element among the current element's children;
    // false at the current element's end.
    bool nextChild()
    {
        while (true) {
            switch (next()) {
            case QXmlStreamReader::StartElement: return true;
            case QXmlStreamReader::EndElement: open_.pop_back(); return false;
            case QXmlStreamReader::EndDocument: fail(QStringLiteral("the file ends early"));
            default: break;
            }
        }
    }

    QStringView name() const { return xml_.name(); }
    qint64 line() const { return xml_.lineNumber(); }

    // Reads the current element whole; the reader stands after its end.
    Node node()
    {
        Node n{xml_.name().toString(), {}, xml_.lineNumber(), {}};
        while (true) {
            switch (next()) {
            case QXmlStreamReader::StartElement: n.children.push_back(node()); break;
            case QXmlStreamReader::Characters: n.text += xml_.text(); break;
            case QXmlStreamReader::EndElement: open_.pop_back(); return n;
            case QXmlStreamReader::EndDocument: fail(QStringLiteral("the file ends early"));
            default: break;
            }
        }
    }

    void skip()
    {
        while (nextChild())
            skip();
    }

    // Reads the root element's start; throws unless it is <fet>.
    void root()
    {
        while (true) {
            const auto token = next();
            if (token == QXmlStreamReader::StartElement)
                break;
            if (token == QXmlStreamReader::EndDocument)
                throw FetError(QStringLiteral("not a FET file: the file has no element"));
        }
        if (xml_.name() != QLatin1String("fet"))
            throw FetError(QStringLiteral("not a FET file: the root element is <%1> at line %2, not <fet>")
                               .arg(xml_.name().toString())
                               .arg(xml_.lineNumber()));
    }

    [[noreturn]] void fail(const QString& problem)
    {
        const QString inside = open_.isEmpty() ? QStringLiteral("the file")
                                               : QStringLiteral("<%1> (line %2)").arg(open_.back()).arg(line());
        throw FetError(QStringLiteral("%1, in %2").arg(problem, inside));
    }

private:
    QXmlStreamReader::TokenType next()
    {
        const auto token = xml_.readNext();
        switch (token) {
        case QXmlStreamReader::Invalid:
            fail(xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError
                     ? QStringLiteral("the file is cut short")
                     : QStringLiteral("not XML: %1").arg(xml_.errorString()));
        case QXmlStreamReader::DTD:
            // Entities can make a small file expand without end; FET never writes a DTD.
            fail(QStringLiteral("a document type declaration (<!DOCTYPE>, entities) is not accepted"));
        case QXmlStreamReader::EntityReference:
            fail(QStringLiteral("the entity &%1; is not accepted").arg(xml_.name().toString()));
        case QXmlStreamReader::StartElement: open_ << xml_.name().toString(); break;
        default: break;
        }
        return token;
    }

    QXmlStreamReader xml_;
    QStringList open_;
};

bool isTrue(const QString& text) { return text.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0; }

// <Active> missing counts as active, as FET reads it.
bool activeOf(const Node& n)
{
    const Node* a = n.child(QLatin1StringView("Active"));
    return !a || isTrue(a->text);
}

int weightOf(const Node& n)
{
    bool ok = false;
    const double w = n.childText(QLatin1StringView("Weight_Percentage")).toDouble(&ok);
    if (!ok || !std::isfinite(w))
        fail(n, QStringLiteral("no weight percentage"));
    return static_cast<int>(std::floor(w));
}

int wholeNumber(const Node& n, QLatin1StringView childName)
{
    bool ok = false;
    const int value = n.childText(childName).toInt(&ok);
    if (!ok)
        fail(n, QStringLiteral("<%1> is not a whole number").arg(childName));
    return value;
}

QString nameOf(const Node& n)
{
    const Node* name = n.child(QLatin1StringView("Name"));
    return name ? name->text : n.text.trimmed();
}

class FileReader {
public:
    FetFile read(Reader& r)
    {
        while (r.nextChild()) {
            const QStringView name = r.name();
            if (name == QLatin1String("Mode"))
                mode_ = r.node();
            else if (name == QLatin1String("Institution_Name"))
                f_.institution = r.node().text;
            else if (name == QLatin1String("Days_List"))
                f_.dayNames = names(r.node(), "Day", dayIndex_);
            else if (name == QLatin1String("Hours_List"))
                f_.hourNames = names(r.node(), "Hour", hourIndex_);
            else if (name == QLatin1String("Subjects_List"))
                f_.subjects = names(r.node(), "Subject", subjectIndex_);
            else if (name == QLatin1String("Teachers_List"))
                f_.teachers = names(r.node(), "Teacher", teacherIndex_);
            else if (name == QLatin1String("Students_List"))
                readStudents(r.node());
            else if (name == QLatin1String("Activities_List"))
                readActivities(r);
            else if (name == QLatin1String("Buildings_List"))
                f_.buildings += count(r.node(), "Building");
            else if (name == QLatin1String("Rooms_List"))
                f_.rooms += count(r.node(), "Room");
            else if (name == QLatin1String("Time_Constraints_List") || name == QLatin1String("Space_Constraints_List"))
                readConstraints(r);
            else
                r.skip();
        }
        if (f_.dayNames.isEmpty() || f_.hourNames.isEmpty())
            throw FetError(QStringLiteral("not a FET file: <Days_List> or <Hours_List> is missing or empty"));
        checkWeek();
        checkConstraintTimes();
        return std::move(f_);
    }

private:
    static QStringList names(const Node& list, const char* item, QHash<QString, int>& index)
    {
        QStringList out;
        for (const Node& c : list.children) {
            if (c.name != QLatin1String(item))
                continue;
            const QString name = nameOf(c);
            if (index.contains(name))
                fail(c, QStringLiteral("“%1” is named twice").arg(name));
            index.insert(name, static_cast<int>(out.size()));
            out << name;
        }
        return out;
    }

    static int count(const Node& list, const char* item)
    {
        int n = 0;
        for (const Node& c : list.children)
            n += c.name == QLatin1String(item);
        return n;
    }

    void checkWeek()
    {
        Week& w = f_.week;
        w.fetDays = static_cast<int>(f_.dayNames.size());
        w.fetHours = static_cast<int>(f_.hourNames.size());
        w.morningsAfternoons = mode_.text.trimmed() == QLatin1String("Mornings_Afternoons");
        const QString days = QStringLiteral("<Days_List> has %1 days").arg(w.fetDays);
        if (w.morningsAfternoons && w.fetDays % 2)
            fail(mode_, days + QStringLiteral(": in mornings-afternoons mode they must pair up"));
        if (w.weekdays() > 7)
            throw FetError(days +
                           (w.morningsAfternoons
                                ? QStringLiteral(" (%1 weekdays of a morning and an afternoon)").arg(w.weekdays())
                                : QString()) +
                           QStringLiteral("; a week here has at most 7 days"));
    }

    void readStudents(const Node& list)
    {
        for (const Node& year : list.children) {
            if (year.name != QLatin1String("Year"))
                continue;
            const QString yearName = nameOf(year);
            addSet(yearName, yearName, QString());
            for (const Node& group : year.children) {
                if (group.name != QLatin1String("Group"))
                    continue;
                const QString groupName = nameOf(group);
                addSet(groupName, yearName, yearName);
                for (const Node& sub : group.children)
                    if (sub.name == QLatin1String("Subgroup"))
                        addSet(nameOf(sub), yearName, groupName);
            }
        }
    }

    // A set listed under several years or groups keeps its first year.
    void addSet(const QString& set, const QString& year, const QString& parent)
    {
        f_.yearOfSet.emplace(set, year);
        if (!parent.isEmpty() && !f_.parentsOfSet[set].contains(parent))
            f_.parentsOfSet[set] << parent;
    }

    void addName(const QString& name, QStringList& names, QHash<QString, int>& index)
    {
        if (!name.isEmpty() && !index.contains(name)) {
            index.insert(name, static_cast<int>(names.size()));
            names << name;
        }
    }

    void readActivities(Reader& r)
    {
        while (r.nextChild()) {
            if (r.name() != QLatin1String("Activity")) {
                r.skip();
                continue;
            }
            const Node n = r.node();
            Activity a;
            a.id = wholeNumber(n, QLatin1StringView("Id"));
            a.duration = wholeNumber(n, QLatin1StringView("Duration"));
            if (a.duration < 1 || a.duration > f_.week.fetHours + 1000)
                fail(n, QStringLiteral("activity %1 has duration %2").arg(a.id).arg(a.duration));
            a.teachers = n.childNames(QLatin1StringView("Teacher"));
            a.students = n.childNames(QLatin1StringView("Students"));
            a.subject = n.childName(QLatin1StringView("Subject"));
            a.active = activeOf(n);
            if (activityIndex_.contains(a.id))
                fail(n, QStringLiteral("activity id %1 is used twice (first at line %2)")
                            .arg(a.id)
                            .arg(activityLine_.value(a.id)));
            activityIndex_.insert(a.id, f_.activities.size());
            activityLine_.insert(a.id, n.line);
            for (const QString& t : a.teachers)
                addName(t, f_.teachers, teacherIndex_);
            addName(a.subject, f_.subjects, subjectIndex_);
            f_.activities.push_back(std::move(a));
        }
    }

    FetTime timeOf(const Node& n, const QString& day, const QString& hour)
    {
        const auto d = dayIndex_.constFind(day);
        if (d == dayIndex_.cend())
            fail(n, QStringLiteral("day “%1” is not in <Days_List>").arg(day));
        const auto h = hourIndex_.constFind(hour);
        if (h == hourIndex_.cend())
            fail(n, QStringLiteral("hour “%1” is not in <Hours_List>").arg(hour));
        return {*d, *h};
    }

    std::vector<FetTime> timesOf(const Node& n, const char* item)
    {
        std::vector<FetTime> times;
        for (const Node& c : n.children)
            if (c.name == QLatin1String(item))
                times.push_back(
                    timeOf(c, c.childName(QLatin1StringView("Day")), c.childName(QLatin1StringView("Hour"))));
        return times;
    }

    // Days and hours are checked when the whole file is read: the lists may
    // in principle follow the constraints.
    void readConstraints(Reader& r)
    {
        while (r.nextChild()) {
            const QString name = r.name().toString();
            if (name == QLatin1String("ConstraintActivityPreferredStartingTime") ||
                name == QLatin1String("ConstraintTeacherNotAvailableTimes") ||
                name == QLatin1String("ConstraintStudentsSetNotAvailableTimes") ||
                name == QLatin1String("ConstraintBreakTimes"))
                pending_.push_back(r.node());
            else {
                ++f_.otherConstraints[name];
                r.skip();
            }
        }
    }

    void checkConstraintTimes()
    {
        for (const Node& n : pending_) {
            if (n.name == QLatin1String("ConstraintActivityPreferredStartingTime"))
                readStartingTime(n);
            else if (n.name == QLatin1String("ConstraintTeacherNotAvailableTimes"))
                f_.teacherNotAvailable.push_back({n.childName(QLatin1StringView("Teacher")),
                                                  timesOf(n, "Not_Available_Time"), weightOf(n), activeOf(n)});
            else if (n.name == QLatin1String("ConstraintStudentsSetNotAvailableTimes"))
                f_.studentsNotAvailable.push_back({n.childName(QLatin1StringView("Students")),
                                                   timesOf(n, "Not_Available_Time"), weightOf(n), activeOf(n)});
            else
                f_.breakTimes.push_back({QString(), timesOf(n, "Break_Time"), weightOf(n), activeOf(n)});
        }
    }

    void readStartingTime(const Node& n)
    {
        StartingTime s;
        s.activityId = wholeNumber(n, QLatin1StringView("Activity_Id"));
        s.weight = weightOf(n);
        s.active = activeOf(n);
        s.locked = isTrue(n.childText(QLatin1StringView("Permanently_Locked")));
        const auto a = activityIndex_.constFind(s.activityId);
        if (a == activityIndex_.cend())
            fail(n, QStringLiteral("activity %1 is not in <Activities_List>").arg(s.activityId));
        // A preference may name only a day or only an hour; a start needs both.
        const QString day = n.childName(QLatin1StringView("Preferred_Day"));
        const QString hour = n.childName(QLatin1StringView("Preferred_Hour"));
        if (day.isEmpty() || hour.isEmpty()) {
            ++f_.otherConstraints[n.name];
            return;
        }
        s.time = timeOf(n, day, hour);
        const int duration = f_.activities[*a].duration;
        if (s.time.hour + duration > f_.week.fetHours)
            fail(n, QStringLiteral("activity %1 of duration %2 from hour “%3” goes past the day's last hour")
                        .arg(s.activityId)
                        .arg(duration)
                        .arg(hour));
        f_.startingTimes.push_back(s);
    }

    FetFile f_;
    Node mode_;
    QHash<QString, int> dayIndex_, hourIndex_, subjectIndex_, teacherIndex_;
    QHash<int, size_t> activityIndex_;
    QHash<int, qint64> activityLine_;
    std::vector<Node> pending_;
};

} // namespace

bool Week::timeOf(int weekday, int period, FetTime* t) const
{
    if (weekday < 1 || weekday > weekdays() || period < 1 || period > periodsPerDay())
        return false;
    if (morningsAfternoons) {
        const bool afternoon = period > fetHours;
        t->day = 2 * (weekday - 1) + (afternoon ? 1 : 0);
        t->hour = period - 1 - (afternoon ? fetHours : 0);
    } else {
        t->day = weekday - 1;
        t->hour = period - 1;
    }
    return true;
}

qsizetype bomLength(const QString& text) { return text.startsWith(QChar(0xFEFF)) ? 1 : 0; }

FetFile readFetText(const QString& text)
{
    Reader r(text.mid(bomLength(text)));
    r.root();
    return FileReader().read(r);
}

QString decodeFetBytes(const QByteArray& bytes)
{
    if (bytes.size() > kMaxFileBytes)
        throw FetError(QStringLiteral("the file has %1 MB; a FET file here has at most %2 MB")
                           .arg(bytes.size() / (1024 * 1024))
                           .arg(kMaxFileBytes / (1024 * 1024)));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        throw FetError(QStringLiteral("not a FET file: the text is not UTF-8"));
    // The byte order mark FET writes is kept, so that the file goes back out as it came.
    if (bytes.startsWith("\xEF\xBB\xBF") && !text.startsWith(QChar(0xFEFF)))
        text.prepend(QChar(0xFEFF));
    return text;
}

} // namespace fet

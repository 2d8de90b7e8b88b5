#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <map>
#include <stdexcept>
#include <vector>

// A timetable as FET (the free timetable generator) keeps it in its .fet
// file: the school's days, hours, students sets, teachers, subjects and
// activities, and where each activity starts. Only what this project can
// hold in its tables is read; the rest stays in the file, which the import
// keeps whole.
namespace fet {

// A file that cannot be read as a FET timetable. The message names the
// element (and its line) where the reading stopped.
class FetError : public std::runtime_error {
public:
    explicit FetError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// A place of the week in FET's own terms: a day and an hour, both from 0.
struct FetTime {
    int day = 0, hour = 0;
};

struct Activity {
    int id = 0;
    QStringList teachers, students;
    QString subject;
    int duration = 1;
    bool active = true;
};

// A ConstraintActivityPreferredStartingTime.
struct StartingTime {
    int activityId = 0;
    FetTime time;
    int weight = 0; // the weight percentage, rounded down
    bool active = true, locked = false;
};

// A teacher's or students set's not-available times, or the break times (no owner).
struct NotAvailable {
    QString owner;
    std::vector<FetTime> times;
    int weight = 0;
    bool active = true;
};

// The weekdays and periods this project shows for FET's days and hours. In
// FET's mornings-afternoons mode every weekday is two FET days, morning and
// afternoon, and its periods are the morning's hours then the afternoon's.
struct Week {
    int fetDays = 0, fetHours = 0;
    bool morningsAfternoons = false;

    int weekdays() const { return morningsAfternoons ? fetDays / 2 : fetDays; }
    int periodsPerDay() const { return morningsAfternoons ? 2 * fetHours : fetHours; }
    int weekdayOf(const FetTime& t) const { return (morningsAfternoons ? t.day / 2 : t.day) + 1; }
    int periodOf(const FetTime& t) const { return (morningsAfternoons && t.day % 2 ? fetHours : 0) + t.hour + 1; }
    // The FET time of a weekday and period; no FET time when it is outside the week.
    bool timeOf(int weekday, int period, FetTime* t) const;
};

struct FetFile {
    QString institution;
    Week week;
    QStringList dayNames, hourNames;
    QStringList teachers, subjects; // as listed, then those only activities name
    // Every students set (year, group or subgroup) with the year that holds it.
    std::map<QString, QString> yearOfSet;
    // The sets directly above each group or subgroup (a group may be in several years).
    QHash<QString, QStringList> parentsOfSet;
    std::vector<Activity> activities; // in the file's order
    std::vector<StartingTime> startingTimes;
    std::vector<NotAvailable> teacherNotAvailable, studentsNotAvailable, breakTimes;
    std::map<QString, int> otherConstraints; // element name -> count, kept in the file
    int rooms = 0, buildings = 0;
};

// Files above this size are refused before they are read.
constexpr qint64 kMaxFileBytes = 32 * 1024 * 1024;

// Reads a .fet file's text (as decodeFetBytes gives it).
// Throws FetError for anything that is not a FET timetable this project can
// hold: not XML, another root element, a document type declaration or an
// entity, more than seven weekdays, a duplicate activity id, or a day, hour
// or activity that the file does not have.
FetFile readFetText(const QString& text);

// Characters before the XML: 1 for a byte order mark, else 0.
qsizetype bomLength(const QString& text);

// The text of a .fet file as stored bytes: UTF-8, the size checked first.
QString decodeFetBytes(const QByteArray& bytes);

} // namespace fet

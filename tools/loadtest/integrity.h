#pragma once

#include <QSqlDatabase>
#include <QStringList>
#include <map>
#include <optional>
#include <tuple>

// The timetable before the load test and its checks afterwards: no teacher
// or class booked twice in a slot where it was not before, no plan item
// with more lessons than its weekly hours where it had not, and every row
// the run added to kcb_log consistent with kcb: replayed in order from the
// lessons as they were, each row finds its lesson (and an exchange's other
// lesson) where the row says it was, and the replay ends with kcb as it is.
// A database without kcb_log gets the first two checks only.
class Integrity {
public:
    struct Report {
        int newDoubleBookings = 0;
        int plansOverHours = 0;
        bool replayed = false; // the database has kcb_log
        int logRows = 0;
        int inconsistentRows = 0; // rows, and lessons that end elsewhere than the log says
        QStringList details;      // the first few of each

        int violations() const { return newDoubleBookings + plansOverHours + inconsistentRows; }
    };

    // The timetable as it is now; empty text when it could be read.
    QString readBefore(QSqlDatabase db);
    Report check(QSqlDatabase db) const;

private:
    struct Lesson {
        QString plan;
        int day = 0, period = 0;
        QString classId, teacherId;
    };
    using Lessons = std::map<QString, Lesson>;
    using Bookings = std::map<std::tuple<QString, int, int>, int>; // "bj:"/"js:" owner, slot

    static std::optional<Lessons> readLessons(QSqlDatabase db, QString* error);
    static Bookings bookingsOf(const Lessons& lessons);
    static std::map<QString, int> placedOf(const Lessons& lessons);

    Lessons lessons_;
    Bookings bookings_;
    std::map<QString, int> placed_;
    qint64 lastSeq_ = 0;
    bool hasLog_ = false;
};

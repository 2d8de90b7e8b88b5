#pragma once

// A committed change of a timetable as the desks tell each other about it:
// the classes and teachers whose lessons it touched. On PostgreSQL it travels
// as a notification on the timetable's channel; the control sends one with
// every edit it commits, and the trigger of data/schema-postgres.sql sends
// the same for every change to kcb, whichever program makes it.

#include "qxmavowin/side.h"

#include <QString>
#include <QStringList>
#include <optional>

struct TimetableChange {
    bool everything = false; // what changed is not known: every class and teacher
    QStringList classIds;
    QStringList teacherIds;
    // Whether lessons came or went, so that hours left may differ; a move
    // or an exchange leaves every plan item's hours as they were.
    bool hoursChanged = true;

    void merge(const TimetableChange& more);
    bool touches(Side side, const QString& ownerId) const;
};

// The channel of a timetable: "kbtz_" and the hex MD5 of "SCHEMA/ID", a
// plain identifier whatever the id holds. The schema of kcb keeps apart
// timetables of one id in different schemas of one database.
QString noticeChannel(const QString& schema, const QString& timetableId);

// {"xn":ID,"bj":[class ids],"js":[teacher ids],"hours":true|false};
// {"xn":ID,"all":true} when it would not fit into a notification (8000
// bytes). Without "hours", the hours may have changed.
QString noticePayload(const QString& timetableId, const TimetableChange& change);

// A payload as the control or the trigger sends it. A payload of another
// timetable gives nothing; one that cannot be read counts as a change of
// everything, so that a desk never misses a change it should show.
std::optional<TimetableChange> parseNotice(const QString& payload, const QString& timetableId);

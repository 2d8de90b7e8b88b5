#pragma once

#include <QString>
#include <vector>

class Connection;

namespace fet {

// An imported activity whose lessons are no longer one run of consecutive
// periods of one day: its start cannot be written, so the file keeps the
// start it came with.
struct UnwritableActivity {
    int activityId = 0;
    QString reason;
};

struct FetExport {
    QString text;       // the whole .fet file
    int activities = 0; // imported activities with a start
    int moved = 0;      // of them, those whose start the text changes
    std::vector<UnwritableActivity> unwritable;
};

// The FET file timetable xnId was imported from, with every imported
// activity's start where its lessons stand now, written as FET writes a
// generated timetable (weight 100, not permanently locked); every other
// character of the file is as it came. Throws FetError when the timetable
// was not imported from a FET file, and DbError when a read fails.
FetExport exportFet(Connection& conn, const QString& xnId);

} // namespace fet

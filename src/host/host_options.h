#pragma once

#include <QSize>
#include <QString>
#include <optional>

// The command line of frmKbTz.
struct HostOptions {
    QString db;            // --db FILE; empty: qx_lm.db next to the program
    QString pg;            // --pg CONNINFO: a PostgreSQL database instead of the SQLite file
    QString screenshot;    // --screenshot PNG: render the window and exit
    QSize size;            // --size WxH: the window's size; invalid: what fits the screen
    int pickClass = -1;    // --pick-class N: after start-up, choose entry N of the class selector
    int pickTeacher = -1;  // --pick-teacher N: after start-up, choose entry N of the teacher selector
    int rclickWeekday = 0; // --rclick W P: right-click the class grid cell of weekday W, period P
    int rclickPeriod = 0;
    bool marks = false;     // --marks: a mark beside the colour of each analysed cell
    bool conflicts = false; // --conflicts: then run the conflict check and show its panel
    bool help = false;
};

// Parses the arguments after the program name; an error text on failure.
std::optional<HostOptions> parseHostOptions(int argc, char** argv, QString* error);

const char* hostUsage();

#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QStringList>

// A desk as a process of its own: kbtz-drive on a test database, one
// command line in, one JSON answer out.
class DriveProcess {
public:
    explicit DriveProcess(const QStringList& arguments);
    ~DriveProcess();

    // Sends a command and waits for its answer; an answer that never comes
    // fails the test and gives an empty object.
    QJsonObject run(const QString& line);

private:
    QProcess process_;
};

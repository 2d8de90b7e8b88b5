#include "support/drive_process.h"

#include "test_paths.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

DriveProcess::DriveProcess(const QStringList& arguments)
{
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(KBTZ_BIN_DIR "/kbtz-drive"), arguments);
    if (!process_.waitForStarted(10000))
        ADD_FAILURE() << "kbtz-drive did not start: " << process_.errorString().toStdString();
}

DriveProcess::~DriveProcess()
{
    process_.closeWriteChannel();
    if (!process_.waitForFinished(10000))
        process_.kill();
}

QJsonObject DriveProcess::run(const QString& line)
{
    process_.write(line.toUtf8() + '\n');
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(30000)) {
            ADD_FAILURE() << "no answer from kbtz-drive to: " << line.toStdString();
            return {};
        }
    }
    return QJsonDocument::fromJson(process_.readLine()).object();
}

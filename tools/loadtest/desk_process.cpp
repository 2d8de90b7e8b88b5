#include "desk_process.h"

#include "proc_cpu.h"

#include <QJsonDocument>

DeskProcess::DeskProcess(const QString& program, const QStringList& arguments, QObject* parent) : QObject(parent)
{
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Refusals are counted from the answers; their log lines would only bury
    // what else a desk may say on stderr.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qxmavowin.failure.info=false"));
    process_.setProcessEnvironment(env);
    connect(&process_, &QProcess::readyReadStandardOutput, this, &DeskProcess::readAnswers);
    connect(&process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        if (finishing_ && status == QProcess::NormalExit && code == 0)
            return;
        died_ = true;
        diedHow_ = status == QProcess::CrashExit ? QStringLiteral("crashed") : QStringLiteral("exit %1").arg(code);
        if (answer_) {
            Answer answer = std::move(answer_);
            answer_ = nullptr;
            answer(QJsonObject{{"error", QStringLiteral("kbtz-drive ") + diedHow_}}, 0);
        }
    });
    process_.start(program, arguments);
    if (!process_.waitForStarted(10000)) {
        died_ = true;
        diedHow_ = process_.errorString();
    }
}

DeskProcess::~DeskProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

void DeskProcess::send(const QString& line, Answer answer)
{
    answer_ = std::move(answer);
    sentAt_.start();
    process_.write(line.toUtf8() + '\n');
}

void DeskProcess::readAnswers()
{
    while (answer_ && process_.canReadLine()) {
        const QByteArray line = process_.readLine();
        const double ms = static_cast<double>(sentAt_.nsecsElapsed()) / 1e6;
        Answer answer = std::move(answer_);
        answer_ = nullptr;
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        if (observer_)
            observer_(object, ms);
        answer(object, ms);
    }
}

bool DeskProcess::finish()
{
    if (died_)
        return false;
    finishing_ = true;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(15000)) {
        died_ = true;
        diedHow_ = QStringLiteral("did not end");
        return false;
    }
    return !died_;
}

double DeskProcess::cpuSeconds() const { return processCpuSeconds(process_.processId()); }

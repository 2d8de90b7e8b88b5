#pragma once

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QProcess>
#include <functional>

// One desk of the load test: a kbtz-drive process, sent one command at a
// time. Each answer comes back with the time the command took, from writing
// the line to reading the answer.
class DeskProcess : public QObject {
    Q_OBJECT

public:
    using Answer = std::function<void(const QJsonObject& answer, double ms)>;

    DeskProcess(const QString& program, const QStringList& arguments, QObject* parent = nullptr);
    ~DeskProcess() override;

    // Sends a command; the answer arrives through `answer` from the event loop.
    void send(const QString& line, Answer answer);
    bool busy() const { return static_cast<bool>(answer_); }
    // Sees every answer before the command's own `answer` does.
    void setObserver(Answer observer) { observer_ = std::move(observer); }

    // Ends the process (end of input) and waits for it; false when it had
    // already died, crashed or would not end.
    bool finish();
    bool died() const { return died_; }
    QString diedHow() const { return diedHow_; }
    // CPU seconds the process has used so far (Linux).
    double cpuSeconds() const;

private:
    void readAnswers();

    QProcess process_;
    Answer answer_;
    Answer observer_;
    QElapsedTimer sentAt_;
    bool finishing_ = false;
    bool died_ = false;
    QString diedHow_;
};

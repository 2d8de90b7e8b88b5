#pragma once

#include <QString>
#include <functional>
#include <vector>

// A message box the control shows: text, style (64: information icon, OK
// button) and title. Every box is recorded; a presenter, when set, shows it
// to the user and returns when it is answered.
struct MessageBoxRecord {
    QString text;
    int style = 0;
    QString title;
};

class MessageBoxes {
public:
    using Presenter = std::function<void(const MessageBoxRecord&)>;

    void setPresenter(Presenter presenter) { presenter_ = std::move(presenter); }
    void show(const QString& text, int style, const QString& title);

    const std::vector<MessageBoxRecord>& shown() const { return shown_; }
    std::vector<MessageBoxRecord> take();

private:
    Presenter presenter_;
    std::vector<MessageBoxRecord> shown_;
};

constexpr int kMessageStyleCritical = 16;
constexpr int kMessageStyleInformation = 64;
inline const QString kWarningTitle = QStringLiteral("警告");

#pragma once

#include "state/controls.h"
#include "ui/event_sink.h"
#include "ui/twips.h"

#include <QPlainTextEdit>

namespace qxui {

// The floating help text box; a click on it hides it (through the control).
class HelpBox : public QPlainTextEdit {
public:
    HelpBox(QWidget* parent, EventSink& sink, const TextBox& box);
    void refresh(const TwipScale& scale);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EventSink& sink_;
    const TextBox& box_;
};

} // namespace qxui

#include "ui/help_box.h"

#include "ui/display_text.h"
#include "ui/widget_placement.h"

#include <QMouseEvent>

namespace qxui {

HelpBox::HelpBox(QWidget* parent, EventSink& sink, const TextBox& box) : QPlainTextEdit(parent), sink_(sink), box_(box)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    viewport()->installEventFilter(this);
    viewport()->setCursor(Qt::ArrowCursor);
}

void HelpBox::refresh(const TwipScale& scale)
{
    placeWidget(*this, scale.rect(box_.Left, box_.Top, box_.Width, box_.Height));
    const QString text = displayText(box_.Text);
    if (toPlainText() != text)
        setPlainText(text);
    if (box_.Visible)
        raise();
    showWidget(*this, box_.Visible);
}

bool HelpBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            sink_.helpClicked();
            return true;
        }
    }
    return QPlainTextEdit::eventFilter(watched, event);
}

} // namespace qxui

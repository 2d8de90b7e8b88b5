#include "state/message_box.h"

void MessageBoxes::show(const QString& text, int style, const QString& title)
{
    MessageBoxRecord record{text, style, title};
    shown_.push_back(record);
    if (presenter_)
        presenter_(record);
}

std::vector<MessageBoxRecord> MessageBoxes::take()
{
    std::vector<MessageBoxRecord> out;
    out.swap(shown_);
    return out;
}

#include "state/control_state.h"

#include "state/edit_command.h"
#include "store/control_error.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

// Waits the given time while the toolkit processes pending events.
void processEventsFor(double seconds)
{
    QElapsedTimer clock;
    clock.start();
    const qint64 wait = static_cast<qint64>(seconds * 1000.0);
    do {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (clock.elapsed() < wait);
}

} // namespace

ControlState::ControlState() : guidSource_(systemGuid), pause_(processEventsFor) {}

Label& ControlState::cell(Side side, int weekday, int index)
{
    if (weekday < 1 || weekday > 7)
        throw ProgramError(QStringLiteral("无效的星期：%1").arg(weekday));
    return surface_.grid(side).column(weekday)[index];
}

QString ControlState::newGuid()
{
    if (guidSource_(context_.Guid) != 0)
        return kNullGuid;
    return formatGuid(context_.Guid);
}

QString ControlState::newLessonId() { return (QStringLiteral("{") + newGuid() + QStringLiteral("}")).toLower(); }

void ControlState::pause(double seconds)
{
    if (pause_)
        pause_(seconds);
}

void ControlState::perform(std::unique_ptr<EditCommand> edit)
{
    if (!perform_)
        throw ProgramError(QStringLiteral("没有编辑记录：控件尚未初始化"));
    perform_(std::move(edit));
}

void ControlState::refreshAfterRefusal()
{
    if (refreshAfterRefusal_)
        refreshAfterRefusal_();
}

void ControlState::noteShown(Side side)
{
    shownMarks_[side == Side::Class ? 0 : 1] = othersMark_ ? othersMark_() : std::nullopt;
}

bool ControlState::othersChangedSinceShown()
{
    const std::optional<qint64> now = othersMark_ ? othersMark_() : std::nullopt;
    if (!now || (!shownMarks_[0] && !shownMarks_[1]))
        return true;
    for (const std::optional<qint64>& shown : shownMarks_)
        if (shown && *shown != *now)
            return true;
    return false;
}

#pragma once

#include "qxmavowin/side.h"
#include "state/guid.h"
#include "state/message_box.h"
#include "state/schedule_context.h"
#include "state/surface.h"
#include "state/timetable_session.h"

#include <functional>
#include <memory>
#include <optional>

class Connection;
class EditCommand;

// What the handlers of the grids, the plan lists and the adjustment work on:
// the surface the toolkit draws, the context QxIni was given, the message
// boxes, the timetable session and the seams of tests and toolkits. The
// control above (QX_MavoWin) owns it, together with the undo history and
// the live watch, and installs the few links back to them.
class ControlState {
public:
    ControlState();

    Surface& surface() { return surface_; }
    ScheduleContext& context() { return context_; }
    MessageBoxes& messages() { return messages_; }
    TimetableSession& session() { return session_; }
    const TimetableSession& session() const { return session_; }
    // The session's connection; throws when there is none yet.
    Connection& conn() { return session_.conn(); }

    // The cell of a grid at weekday 1..7 and index; throws when absent.
    Label& cell(Side side, int weekday, int index);

    // A new GUID from the source (CreateGUID's text; kNullGuid when the
    // source fails), and the id of a new lesson (CreateGUIDEx's form).
    QString newGuid();
    QString newLessonId();
    void setGuidSource(GuidSource source) { guidSource_ = std::move(source); }
    // Waits while the toolkit draws the animation's steps.
    using Pause = std::function<void(double seconds)>;
    void setPause(Pause pause) { pause_ = std::move(pause); }
    void pause(double seconds);

    // Whether a user action is running (state/busy_state.h). An Acting
    // object marks one for its lifetime.
    bool acting() const { return acting_ > 0; }
    class Acting {
    public:
        explicit Acting(ControlState& state) : state_(state) { ++state_.acting_; }
        ~Acting() { --state_.acting_; }
        Acting(const Acting&) = delete;
        Acting& operator=(const Acting&) = delete;

    private:
        ControlState& state_;
    };
    // While another desk's change is shown: it is nobody's action and shows
    // no busy state.
    bool showingOthersChange() const { return showingOthers_; }
    void setShowingOthersChange(bool on) { showingOthers_ = on; }

    // Writes a new edit of the user's and keeps it for undo; throws what the
    // edit throws, and then keeps nothing. The control's history does it.
    using Perform = std::function<void(std::unique_ptr<EditCommand>)>;
    void setPerform(Perform perform) { perform_ = std::move(perform); }
    void perform(std::unique_ptr<EditCommand> edit);
    // How many edits, undos and redos the control has written: what it
    // keeps of the timetable is stale once this has moved.
    int editsWritten() const { return editsWritten_; }
    void countWrite() { ++editsWritten_; }

    // After a refused edit, the weeks are shown afresh by the control's own
    // refresh (the one that also serves a reconnect).
    void setRefreshAfterRefusal(std::function<void()> refresh) { refreshAfterRefusal_ = std::move(refresh); }
    void refreshAfterRefusal();

    // How far the commits of others have come, as the live watch can tell
    // (empty when it cannot). A grid filled from the database notes it;
    // a refused edit asks whether it moved since.
    void setOthersMark(std::function<std::optional<qint64>()> mark) { othersMark_ = std::move(mark); }
    void noteShown(Side side);
    // Whether another desk or program committed a change since the grids
    // were filled (true when that cannot be told). A refused edit says
    // "another user changed" only then; otherwise the screen misses lessons.
    bool othersChangedSinceShown();

private:
    Surface surface_;
    ScheduleContext context_;
    MessageBoxes messages_;
    TimetableSession session_;
    GuidSource guidSource_;
    Pause pause_;
    int acting_ = 0;
    bool showingOthers_ = false;
    int editsWritten_ = 0;
    Perform perform_;
    std::function<void()> refreshAfterRefusal_;
    std::function<std::optional<qint64>()> othersMark_;
    std::optional<qint64> shownMarks_[2]; // the mark when the class (0) and teacher (1) grid was filled
};

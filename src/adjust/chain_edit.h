#pragma once

#include "state/edit_command.h"
#include "store/edit_names.h"

#include <optional>
#include <vector>

// A chain of moves (adjust/chain_search.h) as one edit: every lesson of it
// moves, and a plan item's new lesson is placed, in one checked write unit
// with one history row per lesson. It is refused when another desk has moved
// any of its lessons or taken any of its slots. Undo puts every lesson back
// (and deletes the new one); redo applies the same chain again.
class ChainEdit : public EditCommand {
public:
    struct Move {
        QString lessonId; // the new lesson's id for a plan item's new lesson
        QString planId;
        std::optional<Slot> from; // none: the plan item's new lesson
        Slot to;
        QString classId;
        QString teacherId;
        LessonNames names;
    };
    explicit ChainEdit(std::vector<Move> moves) : moves_(std::move(moves)) {}

    void redo(TimetableSession& session) override;
    void undo(TimetableSession& session) override;
    // Every moved lesson stands where it came from, and a new one is gone.
    bool undoneAlready(TimetableSession& session) const override;
    // "连环调课 2 节：数学 1班 星期一第3节→星期四第2节；语文 1班 星期四第2节→星期五第1节"
    QString text() const override;
    Touched touched() const override;

    const std::vector<Move>& moves() const { return moves_; }

private:
    std::vector<Slot> places() const;
    struct Owners owners() const;

    std::vector<Move> moves_;
};

// How the chain's moves read: "数学 1班 星期一第3节→星期四第2节", a new
// lesson "数学 1班 新课→星期四第2节", joined by "；".
QString chainMovesText(const std::vector<ChainEdit::Move>& moves);

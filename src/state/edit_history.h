#pragma once

#include "state/edit_command.h"

#include <functional>
#include <memory>
#include <vector>

// The committed edits of one control, for undo and redo. An edit that is
// undone stays for redo until a new edit is pushed. The history only keeps
// the edits; running them is the control's business, and the history moves
// only once a run has succeeded, so a refused undo leaves it as it was.
class EditHistory {
public:
    void clear();
    // A new edit, already written; drops the edits that could be redone.
    void push(std::unique_ptr<EditCommand> edit);

    // The edit an undo (redo) would write; null when there is none.
    EditCommand* nextUndo() const;
    EditCommand* nextRedo() const;
    // After that edit was undone (redone).
    void stepBack();
    void stepForward();

    bool canUndo() const { return nextUndo() != nullptr; }
    bool canRedo() const { return nextRedo() != nullptr; }
    QString undoText() const;
    QString redoText() const;

    // The edit an undo would write leaves the history (it is not in the
    // database); the edits that could be redone stay.
    void forgetUndo();

    // Called after every change of what can be undone or redone.
    void setOnChanged(std::function<void()> onChanged) { onChanged_ = std::move(onChanged); }

private:
    void changed();

    std::vector<std::unique_ptr<EditCommand>> edits_;
    size_t done_ = 0; // edits_[0..done_) are in effect
    std::function<void()> onChanged_;
};

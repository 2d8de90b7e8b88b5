#include "state/edit_history.h"

void EditHistory::clear()
{
    edits_.clear();
    done_ = 0;
    changed();
}

void EditHistory::push(std::unique_ptr<EditCommand> edit)
{
    edits_.resize(done_);
    edits_.push_back(std::move(edit));
    done_ = edits_.size();
    changed();
}

EditCommand* EditHistory::nextUndo() const { return done_ > 0 ? edits_[done_ - 1].get() : nullptr; }

EditCommand* EditHistory::nextRedo() const { return done_ < edits_.size() ? edits_[done_].get() : nullptr; }

void EditHistory::stepBack()
{
    if (done_ > 0) {
        --done_;
        changed();
    }
}

void EditHistory::forgetUndo()
{
    if (done_ == 0)
        return;
    edits_.erase(edits_.begin() + static_cast<std::ptrdiff_t>(done_ - 1));
    --done_;
    changed();
}

void EditHistory::stepForward()
{
    if (done_ < edits_.size()) {
        ++done_;
        changed();
    }
}

QString EditHistory::undoText() const
{
    const EditCommand* edit = nextUndo();
    return edit ? edit->text() : QString();
}

QString EditHistory::redoText() const
{
    const EditCommand* edit = nextRedo();
    return edit ? edit->text() : QString();
}

void EditHistory::changed()
{
    if (onChanged_)
        onChanged_();
}

#include "state/change_list.h"

void ChangeList::add(SurfaceControl& control)
{
    control.listed_ = true;
    pending_.push_back(&control);
    if (pending_.size() == 1 && onFirstChange_)
        onFirstChange_();
}

void ChangeList::take(std::vector<SurfaceControl*>& into)
{
    into.clear();
    into.swap(pending_);
    for (SurfaceControl* control : into)
        control->listed_ = false;
}

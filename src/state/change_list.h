#pragma once

#include <functional>
#include <vector>

class ChangeList;

// A control of the surface. Its properties report a real change to it, and
// it puts itself once on the change list of its surface, where it stays
// until the list is taken. A control bound to no list (a design template, a
// test's own label) reports to nobody.
class SurfaceControl {
public:
    SurfaceControl() = default;
    // A copy belongs to the same surface as its original (a control array's
    // new element) and has yet to change; an assignment changes properties,
    // never which list a control reports to.
    SurfaceControl(const SurfaceControl& other) : changes_(other.changes_) {}
    SurfaceControl& operator=(const SurfaceControl&) { return *this; }

    void changed();
    void bindTo(ChangeList& changes) { changes_ = &changes; }

private:
    friend class ChangeList;
    ChangeList* changes_ = nullptr;
    bool listed_ = false;
};

// The controls that changed since the list was last taken, each once, in
// the order of their first change. The toolkit layer takes it after each
// event and updates exactly those controls.
class ChangeList {
public:
    ChangeList() = default;
    ChangeList(const ChangeList&) = delete;
    ChangeList& operator=(const ChangeList&) = delete;

    // Called on the first change after the list was taken (or was empty),
    // so that a toolkit can show changes the core makes while it is idle.
    void setOnFirstChange(std::function<void()> notify) { onFirstChange_ = std::move(notify); }

    bool empty() const { return pending_.empty(); }
    // Moves the changed controls into `into` (whatever it held goes) and
    // starts the list afresh; the two vectors trade their storage, so a
    // caller that keeps `into` allocates nothing in the long run.
    void take(std::vector<SurfaceControl*>& into);

private:
    friend class SurfaceControl;
    void add(SurfaceControl& control);

    std::vector<SurfaceControl*> pending_;
    std::function<void()> onFirstChange_;
};

inline void SurfaceControl::changed()
{
    if (changes_ && !listed_)
        changes_->add(*this);
}

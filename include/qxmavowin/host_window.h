#pragma once

// The host window the control works in: the mouse pointer (0 default,
// 11 hourglass) and whether it takes user input. A toolkit host overrides the
// setters to apply them to its real window.
class HostWindow {
public:
    virtual ~HostWindow() = default;

    int MousePointer() const { return mousePointer_; }
    bool Enabled() const { return enabled_; }

    virtual void setMousePointer(int pointer) { mousePointer_ = pointer; }
    virtual void setEnabled(bool enabled) { enabled_ = enabled; }

private:
    int mousePointer_ = 0;
    bool enabled_ = true;
};

namespace pointer {
constexpr int Default = 0;
constexpr int Hourglass = 11;
} // namespace pointer

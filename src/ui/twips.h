#pragma once

#include <QColor>
#include <QPalette>
#include <QPointF>
#include <QRect>
#include <cmath>
#include <cstdint>

namespace qxui {

// The surface is laid out in twips (1/1440 inch). On screen a twip is
// logicalDpi / 1440 device-independent pixels, so the layout follows the
// user's font scaling and Qt's own high-DPI scaling alike.
class TwipScale {
public:
    TwipScale() = default;
    explicit TwipScale(double logicalDpi) : pxPerTwip_(logicalDpi / 1440.0) {}

    double pxPerTwip() const { return pxPerTwip_; }
    int px(double twips) const { return static_cast<int>(std::lround(twips * pxPerTwip_)); }
    double pxF(double twips) const { return twips * pxPerTwip_; }
    QPointF point(double x, double y) const { return {pxF(x), pxF(y)}; }

    // Both edges rounded on their own, so that neighbours 15 twips apart keep
    // their one-pixel gap instead of drifting with the rounding of sizes.
    QRect rect(double left, double top, double width, double height) const
    {
        const int l = px(left), t = px(top);
        return {l, t, px(left + width) - l, px(top + height) - t};
    }

    bool operator==(const TwipScale& other) const { return pxPerTwip_ == other.pxPerTwip_; }

private:
    double pxPerTwip_ = 1.0 / 15.0;
};

// An OLE colour (0x00BBGGRR, or 0x800000nn for system colour nn) as a Qt
// colour. System colours come from the widget's palette: the Windows "window"
// colour is the background of content areas (QPalette::Base), not the dialog
// face (QPalette::Window, Windows' button face). The active group is used
// always: a window disabled for a moment while the control works keeps the
// look of its cells.
inline QColor oleColor(std::int32_t value, const QPalette& palette)
{
    const auto raw = static_cast<std::uint32_t>(value);
    if (raw & 0x80000000u) {
        switch (raw & 0xFFu) {
        case 5: return palette.color(QPalette::Active, QPalette::Base);        // window background
        case 8: return palette.color(QPalette::Active, QPalette::Text);        // window text
        case 15: return palette.color(QPalette::Active, QPalette::Button);     // button face
        case 18: return palette.color(QPalette::Active, QPalette::ButtonText); // button text
        case 13: return palette.color(QPalette::Active, QPalette::Highlight);
        case 14: return palette.color(QPalette::Active, QPalette::HighlightedText);
        case 17: return palette.color(QPalette::Active, QPalette::PlaceholderText); // grey text
        case 24: return palette.color(QPalette::Active, QPalette::ToolTipBase);
        case 23: return palette.color(QPalette::Active, QPalette::ToolTipText);
        default: return palette.color(QPalette::Active, QPalette::WindowText);
        }
    }
    return QColor(static_cast<int>(raw & 0xFFu), static_cast<int>((raw >> 8) & 0xFFu),
                  static_cast<int>((raw >> 16) & 0xFFu));
}

} // namespace qxui

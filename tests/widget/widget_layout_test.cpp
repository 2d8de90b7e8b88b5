// The surface on screen: design geometry in twips at the screen's logical
// DPI, OLE colours.

#include "school_window.h"

#include "state/surface.h"
#include "ui/twips.h"

#include <cmath>

// OLE colours are blue-green-red or system colours taken from the palette;
// twips follow the logical DPI.
TEST(WidgetConversions, OleColoursAndTwips)
{
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    EXPECT_EQ(qxui::oleColor(0x00BDF00F, palette), QColor(0x0F, 0xF0, 0xBD));
    EXPECT_EQ(qxui::oleColor(static_cast<std::int32_t>(0x80000005u), palette), QColor(1, 2, 3));

    const qxui::TwipScale at96(96), at192(192);
    EXPECT_EQ(at96.rect(30, 120, 885, 735), QRect(2, 8, 59, 49));
    EXPECT_EQ(at192.rect(30, 120, 885, 735), QRect(4, 16, 118, 98));
    // Right edges stand within rounding of where the twips put them at any DPI,
    // so neighbouring cells 15 twips apart never touch.
    for (double dpi : {96.0, 120.0, 144.0, 168.0})
        for (int d = 0; d < 7; ++d) {
            const QRect r = qxui::TwipScale(dpi).rect(30 + 900 * d, 120, 885, 735);
            EXPECT_LE(std::abs(r.x() + r.width() - (915 + 900 * d) * dpi / 1440), 0.5) << dpi << "/" << d;
        }
}

TEST(WidgetLayout, EveryCellStandsWhereItsLabelSaysAtTheScreensDpi)
{
    SchoolWindow w;
    const qxui::TwipScale s(w.C->logicalDpiX());
    for (Side kind : {Side::Class, Side::Teacher}) {
        for (int d = 1; d <= 7; ++d) {
            for (int p = 1; p <= 8; ++p) {
                const Label& label = w.C->control().cell(kind, d, p - 1);
                QWidget* cell = w.cell(kind, d, p);
                ASSERT_NE(cell, nullptr) << d << "/" << p;
                EXPECT_EQ(cell->geometry(), s.rect(label.Left, label.Top, label.Width, label.Height)) << d << "/" << p;
                EXPECT_TRUE(cell->isVisible());
            }
        }
        EXPECT_EQ(w.cell(kind, 1, 9), nullptr);
    }
}

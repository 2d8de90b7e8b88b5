// The surface on screen: design geometry in twips at the screen's logical
// DPI, OLE colours.

#include "school_window.h"

#include "control/surface.h"
#include "ui/twips.h"

#include <gtest/gtest.h>

// OLE colours are blue-green-red or system colours taken from the palette;
// twips follow the logical DPI without drifting gaps.
TEST(WidgetConversions, OleColoursAndTwips)
{
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    EXPECT_EQ(qxui::oleColor(0x00BDF00F, palette), QColor(0x0F, 0xF0, 0xBD));
    EXPECT_EQ(qxui::oleColor(static_cast<std::int32_t>(0x80000005u), palette), QColor(1, 2, 3));

    const qxui::TwipScale at96(96), at192(192);
    EXPECT_EQ(at96.rect(30, 120, 885, 735), QRect(2, 8, 59, 49));
    EXPECT_EQ(at192.rect(30, 120, 885, 735), QRect(4, 16, 118, 98));
    // Cells 900 twips apart keep the same gap at every column: rounding the
    // edges, not the widths, keeps it from drifting.
    for (int d = 1; d < 7; ++d)
        EXPECT_EQ(at96.rect(30 + 900 * d, 120, 885, 735).left() - at96.rect(30 + 900 * (d - 1), 120, 885, 735).right(), 2) << d;
}

TEST(WidgetLayout, EveryCellStandsWhereItsLabelSaysAtTheScreensDpi)
{
    SchoolWindow w;
    const qxui::TwipScale s(w.C->logicalDpiX());
    for (const QString& kind : {QStringLiteral("班级"), QStringLiteral("教师")}) {
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

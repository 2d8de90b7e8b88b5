// The surface on screen: design geometry in twips at the screen's logical
// DPI, OLE colours, the grids grown to the timetable's periods.

#include "school_window.h"

#include "control/colors.h"
#include "control/surface.h"
#include "ui/twips.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(WidgetColours, OleValuesAreBlueGreenRedAndSystemColoursComeFromThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Text, QColor(4, 5, 6));
    EXPECT_EQ(qxui::oleColor(color::HeaderBar, palette), QColor(0x80, 0x80, 0xFF));
    EXPECT_EQ(qxui::oleColor(color::AnalysedLesson, palette), QColor(15, 240, 189));
    EXPECT_EQ(qxui::oleColor(color::HeadingText, palette), QColor(0xFF, 0xFF, 0x80));
    EXPECT_EQ(qxui::oleColor(color::SystemWindowBackground, palette), QColor(1, 2, 3));
    EXPECT_EQ(qxui::oleColor(color::SystemWindowText, palette), QColor(4, 5, 6));
}

TEST(WidgetScale, TwipsFollowTheLogicalDpiWithoutDriftingGaps)
{
    const qxui::TwipScale at96(96), at192(192);
    EXPECT_EQ(at96.rect(30, 120, 885, 735), QRect(2, 8, 59, 49));
    EXPECT_EQ(at192.rect(30, 120, 885, 735), QRect(4, 16, 118, 98));
    // Neighbouring cells 900 twips apart keep a gap of one pixel (15 twips)
    // at every column, not a gap that the rounding of widths eats.
    for (int d = 1; d < 7; ++d) {
        const QRect left = at96.rect(30 + 900 * (d - 1), 120, 885, 735);
        const QRect right = at96.rect(30 + 900 * d, 120, 885, 735);
        EXPECT_EQ(right.left() - left.right(), 2) << d;
    }
}

TEST(WidgetLayout, ControlsStandAtTheirDesignPlacesInsideTheirFrames)
{
    SchoolWindow w;
    const qxui::TwipScale s(w.C->logicalDpiX());
    auto geometry = [&](const char* name) {
        QWidget* widget = w.C->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget ? widget->geometry() : QRect();
    };
    EXPECT_EQ(geometry("Frame1"), s.rect(60, 60, 7365, 7335));
    EXPECT_EQ(geometry("frame"), s.rect(7440, 60, 7335, 7335));
    EXPECT_EQ(geometry("Frame2"), s.rect(60, 660, 7230, 465));
    EXPECT_EQ(geometry("Frame4"), s.rect(30, 660, 7245, 465));
    EXPECT_EQ(geometry("NFraBj"), s.rect(1020, 1050, 6345, 6255));
    EXPECT_EQ(geometry("NFraJs"), s.rect(960, 1020, 6345, 6285));
    EXPECT_EQ(geometry("FraBj"), s.rect(60, 1020, 945, 6255));
    EXPECT_EQ(geometry("FrajxjhBj"), s.rect(60, 7440, 7365, 1815));
    EXPECT_EQ(geometry("lstJs"), s.rect(90, 240, 7155, 1485));
    EXPECT_EQ(w.child<QWidget>("cmbBj")->parentWidget()->objectName(), QStringLiteral("Frame1"));
    EXPECT_EQ(w.child<QWidget>("txtJm")->parentWidget()->objectName(), QStringLiteral("frame"));
    EXPECT_EQ(w.child<QPushButton>("cmdDelBj")->text(), QStringLiteral("删除"));

    // Eight periods: row r of a class-grid column starts at 120 + (r - 1) * (756 + 20).
    const Surface& surface = w.C->control().surface();
    ASSERT_EQ(surface.classGrid.periodRows(), 8);
    for (int d = 1; d <= 7; ++d) {
        for (int p = 1; p <= 8; ++p) {
            QWidget* cell = w.cell(QStringLiteral("班级"), d, p);
            ASSERT_NE(cell, nullptr) << d << "/" << p;
            EXPECT_EQ(cell->parentWidget()->objectName(), QStringLiteral("NFraBj"));
            EXPECT_EQ(cell->geometry(), s.rect(30 + 900 * (d - 1), 120 + (p - 1) * 776, 885, 756)) << d << "/" << p;
            EXPECT_TRUE(cell->isVisible());
            EXPECT_NE(w.cell(QStringLiteral("教师"), d, p), nullptr);
        }
    }
    EXPECT_EQ(w.cell(QStringLiteral("班级"), 1, 9), nullptr);
    EXPECT_EQ(w.C->findChild<QWidget*>(QStringLiteral("cmdJS2_7"))->parentWidget()->objectName(), QStringLiteral("NFraJs"));

    // Hidden until used: the tiles and the help box.
    for (const char* name : {"cBj", "eBj", "CJs", "eJs", "txtHelp"})
        EXPECT_FALSE(w.child<QWidget>(name)->isVisible()) << name;
}

TEST(WidgetLayout, StartUpFillsTheSelectorsAndLeavesGridsAndListsEmpty)
{
    SchoolWindow w;
    EXPECT_EQ(w.combo("cmbBj")->count(), 3);
    EXPECT_EQ(w.combo("cmbBj")->currentIndex(), -1);
    EXPECT_EQ(w.combo("cmbJs")->count(), 5);
    EXPECT_EQ(w.combo("cmbNj")->count(), 0);
    EXPECT_EQ(w.list("lstBj")->columnCount(), 8);
    EXPECT_EQ(w.list("lstBj")->headerItem()->text(2), QStringLiteral("教师姓名"));
    EXPECT_EQ(w.list("lstBj")->topLevelItemCount(), 0);
    QWidget* cell = w.cell(QStringLiteral("班级"), 1, 1);
    EXPECT_FALSE(SchoolWindow::showsDarkPixels(cell));
    EXPECT_EQ(SchoolWindow::shownBackColor(cell), QColor(Qt::white));
}

// The control fills the window the host gives it, and the marks that say a
// cell's state besides its colour.

#include "school_window.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace {

constexpr Side kClass = Side::Class;

// The black strokes in the top-left corner of a cell, where its mark goes.
QImage cornerInk(QWidget* cell)
{
    const QImage corner = cell->grab().toImage().copy(0, 0, cell->height() / 4, cell->height() / 4);
    QImage ink(corner.size(), QImage::Format_Mono);
    for (int y = 0; y < corner.height(); ++y)
        for (int x = 0; x < corner.width(); ++x)
            ink.setPixel(x, y, qGray(corner.pixel(x, y)) < 100 ? 1 : 0);
    return ink;
}

} // namespace

TEST(Scaling, CellsGrowWithTheWindowAndMarksTellTheStatesApartInGreyScale)
{
    SchoolForm form([](FrmKbTz& f) { f.resize(f.sizeHint()); });
    QxMavoWinWidget& c = *form.C();
    chooseEntry(c, "cmbBj", QStringLiteral("高一(1)班"));
    QTest::mouseClick(c.cellWidget(kClass, 1, 0), Qt::RightButton); // 语文 of 张伟
    const QSize design = c.size();
    ASSERT_EQ(design, c.sizeHint());
    keepPicture(form, QStringLiteral("design"));

    // Analysed, available, blocked and warned cells; no marks until asked for.
    const std::pair<int, int> cells[] = {{1, 0}, {3, 5}, {2, 2}, {5, 6}};
    for (auto [d, i] : cells)
        EXPECT_EQ(cornerInk(c.cellWidget(kClass, d, i)), cornerInk(c.cellWidget(kClass, 7, 7))) << d << "/" << i;
    c.setStateMarks(true);
    keepPicture(form, QStringLiteral("marks"));
    std::vector<QImage> marks;
    for (auto [d, i] : cells)
        marks.push_back(cornerInk(c.cellWidget(kClass, d, i)));
    for (size_t a = 0; a < marks.size(); ++a)
        for (size_t b = a + 1; b < marks.size(); ++b)
            EXPECT_NE(marks[a], marks[b]) << a << " and " << b;

    // A larger window: the cells grow in proportion, the surface's geometry
    // still in design twips.
    const QSize designCell = c.cellWidget(kClass, 4, 5)->size();
    form.resize(form.size() + design);
    QCoreApplication::processEvents();
    const QSize grown = c.cellWidget(kClass, 4, 5)->size();
    const double across = double(grown.width()) / designCell.width(),
                 down = double(grown.height()) / designCell.height();
    EXPECT_GT(across, 1.5);
    EXPECT_NEAR(across, down, 0.05);
    EXPECT_EQ(c.control().cell(kClass, 4, 5).Width, 885);
    keepPicture(form, QStringLiteral("larger"));
}

namespace {

// The part of a widget its window shows: its rectangle cut by every parent's.
QRect shownPart(QWidget* w)
{
    QRect shown(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        shown &= QRect(p->mapTo(w->window(), QPoint(0, 0)), p->size());
    return shown;
}

// Whole rows a plan list has room for.
int rowsInSight(QTreeWidget* list)
{
    const int row = list->visualItemRect(list->topLevelItem(0)).height();
    return row > 0 ? list->viewport()->height() / row : 0;
}

} // namespace

TEST(Scaling, ASmallScreenShowsEveryControlWholeAndALargeOneMorePlanRows)
{
    // 1366x768 less a task bar and the window frame.
    SchoolForm form([](FrmKbTz& f) { f.resize(1366, 738); });
    QxMavoWinWidget& c = *form.C();
    for (const char* name : {"cmbBj", "cmbJs"}) {
        auto* box = c.findChild<QComboBox*>(QLatin1String(name));
        box->setCurrentIndex(0);
        emit box->activated(0);
    }
    QCoreApplication::processEvents();
    keepPicture(form, QStringLiteral("1366x738"));

    std::vector<QWidget*> shown;
    for (Side side : {Side::Class, Side::Teacher})
        for (int d = 1; d <= 7; ++d)
            for (int i = 0; i < 8; ++i)
                shown.push_back(c.cellWidget(side, d, i));
    for (const char* name : {"cmdDelBj", "cmdDeljs", "cmbJb", "cmbNj", "cmbBj", "cmbJs", "txtJm", "lstBj", "lstJs"})
        shown.push_back(c.findChild<QWidget*>(QLatin1String(name)));
    for (QWidget* w : shown) {
        ASSERT_NE(w, nullptr);
        const QRect whole(w->mapTo(&form, QPoint(0, 0)), w->size());
        EXPECT_FALSE(whole.isEmpty()) << qPrintable(w->objectName());
        EXPECT_EQ(shownPart(w), whole) << qPrintable(w->objectName());
        EXPECT_TRUE(form.rect().contains(whole)) << qPrintable(w->objectName());
    }
    EXPECT_GE(QFontInfo(c.cellWidget(Side::Class, 1, 0)->font()).pixelSize(), 9);

    const std::array<QTreeWidget*, 2> lists = {c.findChild<QTreeWidget*>(QStringLiteral("lstBj")),
                                               c.findChild<QTreeWidget*>(QStringLiteral("lstJs"))};
    for (QTreeWidget* list : lists) {
        // Every column in sight, the last (每周课时) too.
        const int last = list->columnCount() - 1;
        EXPECT_EQ(list->headerItem()->text(last), QStringLiteral("每周课时"));
        EXPECT_LE(list->header()->sectionViewportPosition(last) + list->header()->sectionSize(last),
                  list->viewport()->width());
        EXPECT_GT(list->header()->sectionSize(last), 0);
    }

    form.showMaximized(); // the test screen is 1920x1080
    QTRY_VERIFY(form.isMaximized());
    QTRY_VERIFY(form.width() >= 1900);
    for (QTreeWidget* list : lists)
        EXPECT_GE(rowsInSight(list), 8) << qPrintable(list->objectName());
    keepPicture(form, QStringLiteral("maximised"));
}

// The control fills the window the host gives it, and the marks that say a
// cell's state besides its colour.

#include "school_window.h"

#ifdef KBTZ_HAVE_HOST_FORM
#include "host/frm_kbtz.h"
#include "ui/twips.h"

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
    TempDb db;
    loadSchool(db);
    FrmKbTz form;
    form.load(db.db());
    form.resize(form.sizeHint());
    form.show();
    QxMavoWinWidget& c = *form.C();
    auto* classes = c.findChild<QComboBox*>(QStringLiteral("cmbBj"));
    classes->setCurrentIndex(classes->findText(QStringLiteral("高一(1)班")));
    emit classes->activated(classes->currentIndex());
    QTest::mouseClick(c.cellWidget(kClass, 1, 0), Qt::RightButton); // 语文 of 张伟
    const QSize design = c.size();
    ASSERT_EQ(design, c.sizeHint());
    const QSize designCell = c.cellWidget(kClass, 1, 0)->size();
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

    // Twice the design size: every cell twice as large, the surface's
    // geometry still in design twips.
    form.resize(form.size() + design);
    QCoreApplication::processEvents();
    ASSERT_EQ(c.size(), design * 2);
    const qxui::TwipScale twice(c.logicalDpiX() * 2);
    const Label& label = c.control().cell(kClass, 4, 5);
    EXPECT_EQ(c.cellWidget(kClass, 4, 5)->geometry(), twice.rect(label.Left, label.Top, label.Width, label.Height));
    EXPECT_EQ(label.Width, 885);
    keepPicture(form, QStringLiteral("twice"));

    c.setStateMarks(false);
    form.resize(form.sizeHint());
    form.showMaximized();
    QTRY_VERIFY(form.isMaximized());
    QTRY_VERIFY(c.cellWidget(kClass, 1, 0)->width() > designCell.width());
    EXPECT_GT(c.cellWidget(kClass, 1, 0)->height(), designCell.height());
    keepPicture(form, QStringLiteral("maximised"));
}
#endif

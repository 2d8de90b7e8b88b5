#include "export/paint_week_pages.h"

#include "export/week_page_layout.h"
#include "grid/build_grids.h"
#include "state/colors.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <cstdint>

namespace {

QColor oleColor(std::int32_t ole) { return QColor(ole & 0xFF, (ole >> 8) & 0xFF, (ole >> 16) & 0xFF); }

const QColor kRuleColor(0x80, 0x80, 0x80);

QFont pageFont(int pixelSize, bool bold = false)
{
    QFont font;
    font.setFamilies(pageFontFamilies());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// The lines of a cell: for each lesson the other side's name over the course.
QString cellText(const std::vector<WeekEntry>& entries)
{
    QStringList lines;
    for (const WeekEntry& e : entries)
        lines << e.firstLine << e.course;
    return lines.join(u'\n');
}

// The largest size up to 11 points at which the text fits the cell, so that
// a slot of several lessons (a clash) still shows all of them.
QFont fittingFont(QPainter& painter, const QRectF& box, const QString& text)
{
    for (int size = 11; size > 5; --size) {
        painter.setFont(pageFont(size));
        if (box.contains(painter.boundingRect(box, Qt::AlignCenter | Qt::TextWordWrap, text)))
            break;
    }
    return painter.font();
}

void paintHeader(QPainter& p, const WeekPageLayout& layout, const WeekPage& page, const PageHeading& heading)
{
    p.setPen(Qt::black);
    p.setFont(pageFont(13, true));
    p.drawText(layout.header(), Qt::AlignLeft | Qt::AlignVCenter,
               heading.timetable() + QStringLiteral("　") + page.title());
    p.setFont(pageFont(10));
    p.drawText(layout.header(), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("打印日期：") + heading.printed.toString(Qt::ISODate));
}

// Headings as black text between rules, no filled blocks: a page prints the
// same on a black-and-white printer, and spends no toner on slabs of grey.
void paintFrame(QPainter& p, const WeekPageLayout& layout, const WeekPage& page)
{
    const QRectF corner = layout.corner();
    p.setPen(QPen(Qt::black, 0.6));
    p.drawLine(corner.topLeft(), corner.bottomRight());
    p.setFont(pageFont(10, true));
    p.drawText(corner.adjusted(3, 2, -3, -2), Qt::AlignRight | Qt::AlignTop, QStringLiteral("星期"));
    p.drawText(corner.adjusted(3, 2, -3, -2), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("课节"));

    p.setFont(pageFont(11, true));
    for (int d : page.weekdays)
        p.drawText(layout.weekdayHeading(d), Qt::AlignCenter, WeekdayName(d));
    for (int k = 1; k <= page.periods; ++k)
        p.drawText(layout.periodHeading(k), Qt::AlignCenter,
                   QStringLiteral("第") + PeriodNumeral(k) + QStringLiteral("节"));
    // A heavier rule under the weekdays and beside the periods sets the
    // headings off from the cells.
    const QRectF grid = layout.grid();
    p.setPen(QPen(Qt::black, 1.2));
    p.drawLine(QPointF(grid.left(), corner.bottom()), QPointF(grid.right(), corner.bottom()));
    p.drawLine(QPointF(corner.right(), grid.top()), QPointF(corner.right(), grid.bottom()));
    p.setPen(QPen(kRuleColor, 0.6));
    for (int k = 1; k < page.periods; ++k)
        p.drawLine(layout.periodHeading(k).bottomLeft(), layout.periodHeading(k).bottomRight());
}

void paintCells(QPainter& p, const WeekPageLayout& layout, const WeekPage& page)
{
    for (int d : page.weekdays) {
        for (int k = 1; k <= page.periods; ++k) {
            const QRectF box = layout.cell(d, k);
            p.setPen(QPen(kRuleColor, 0.6));
            p.drawRect(box);
            const std::vector<WeekEntry>& entries = page.at(d, k);
            if (entries.empty())
                continue;
            const QString text = cellText(entries);
            const QRectF inner = box.adjusted(2, 2, -2, -2);
            p.setFont(fittingFont(p, inner, text));
            p.setPen(entries.size() > 1 ? oleColor(color::Related) : Qt::black);
            p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, text);
        }
    }
    p.setPen(QPen(Qt::black, 1.2));
    p.drawRect(layout.grid());
}

void paintFooter(QPainter& p, const WeekPageLayout& layout, const WeekPage& page)
{
    if (page.offGrid == 0)
        return;
    p.setPen(Qt::black);
    p.setFont(pageFont(9));
    p.drawText(layout.footer(), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("另有 %1 节课的星期或课节不在课表格内，未画出；请用冲突检查查看。").arg(page.offGrid));
}

} // namespace

QStringList pageFontFamilies()
{
    return {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
            QStringLiteral("Noto Serif CJK SC")};
}

bool paintWeekPages(QPagedPaintDevice& device, const std::vector<WeekPage>& pages, const PageHeading& heading)
{
    QPainter p;
    if (!p.begin(&device))
        return false;
    p.scale(device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0);
    const QSizeF area = device.pageLayout().paintRect(QPageLayout::Point).size();
    bool first = true;
    for (const WeekPage& page : pages) {
        if (!first)
            device.newPage();
        first = false;
        const WeekPageLayout layout(area, page.periods, page.weekdays);
        paintHeader(p, layout, page, heading);
        if (page.periods > 0) {
            paintFrame(p, layout, page);
            paintCells(p, layout, page);
        }
        paintFooter(p, layout, page);
    }
    return p.end();
}

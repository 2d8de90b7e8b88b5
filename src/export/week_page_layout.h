#pragma once

#include <QRectF>
#include <QSizeF>

// Where the parts of a week page go, in points (1/72 inch) from the top-left
// corner of the page's printable area: the header line, the grid as the
// control draws it (the corner, seven weekday headings across, one period
// heading per row down, a cell per weekday and period) and a footer line.
class WeekPageLayout {
public:
    WeekPageLayout(QSizeF area, int periods);

    QRectF header() const;
    QRectF corner() const;
    QRectF weekdayHeading(int weekday) const; // 1..7
    QRectF periodHeading(int period) const;   // 1..periods
    QRectF cell(int weekday, int period) const;
    QRectF grid() const; // corner to the last cell
    QRectF footer() const;

private:
    QSizeF area_;
    int periods_;
    double columnWidth_, rowHeight_;
};

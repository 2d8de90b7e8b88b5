#pragma once

#include <QRectF>
#include <QSizeF>
#include <vector>

// Where the parts of a week page go, in points (1/72 inch) from the top-left
// corner of the page's printable area: the header line, the grid as the
// control draws it (the corner, the weekday headings across, one period
// heading per row down, a cell per weekday and period) and a footer line.
// The weekdays shown share the width; others have no place.
class WeekPageLayout {
public:
    WeekPageLayout(QSizeF area, int periods, std::vector<int> weekdays = {1, 2, 3, 4, 5, 6, 7});

    QRectF header() const;
    QRectF corner() const;
    QRectF weekdayHeading(int weekday) const; // one of the weekdays shown
    QRectF periodHeading(int period) const;   // 1..periods
    QRectF cell(int weekday, int period) const;
    QRectF grid() const; // corner to the last cell
    QRectF footer() const;

private:
    int column(int weekday) const;

    QSizeF area_;
    int periods_;
    std::vector<int> weekdays_;
    double columnWidth_, rowHeight_;
};

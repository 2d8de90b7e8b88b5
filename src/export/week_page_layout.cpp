#include "export/week_page_layout.h"

#include <algorithm>

namespace {

constexpr double kHeaderHeight = 22;
constexpr double kGridTop = 28;
constexpr double kFooterHeight = 16;
constexpr double kHeadingWidth = 64;
constexpr double kWeekdayRowHeight = 30;

} // namespace

WeekPageLayout::WeekPageLayout(QSizeF area, int periods, std::vector<int> weekdays)
    : area_(area), periods_(std::max(1, periods)), weekdays_(std::move(weekdays)),
      columnWidth_((area.width() - kHeadingWidth) / std::max<double>(1, static_cast<double>(weekdays_.size()))),
      rowHeight_((area.height() - kGridTop - kWeekdayRowHeight - kFooterHeight) / periods_)
{}

int WeekPageLayout::column(int weekday) const
{
    const auto at = std::find(weekdays_.begin(), weekdays_.end(), weekday);
    return static_cast<int>(at - weekdays_.begin());
}

QRectF WeekPageLayout::header() const { return {0, 0, area_.width(), kHeaderHeight}; }

QRectF WeekPageLayout::corner() const { return {0, kGridTop, kHeadingWidth, kWeekdayRowHeight}; }

QRectF WeekPageLayout::weekdayHeading(int weekday) const
{
    return {kHeadingWidth + column(weekday) * columnWidth_, kGridTop, columnWidth_, kWeekdayRowHeight};
}

QRectF WeekPageLayout::periodHeading(int period) const
{
    return {0, kGridTop + kWeekdayRowHeight + (period - 1) * rowHeight_, kHeadingWidth, rowHeight_};
}

QRectF WeekPageLayout::cell(int weekday, int period) const
{
    return {weekdayHeading(weekday).left(), periodHeading(period).top(), columnWidth_, rowHeight_};
}

QRectF WeekPageLayout::grid() const { return {0, kGridTop, area_.width(), kWeekdayRowHeight + periods_ * rowHeight_}; }

QRectF WeekPageLayout::footer() const { return {0, area_.height() - kFooterHeight, area_.width(), kFooterHeight}; }

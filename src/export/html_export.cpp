#include "export/html_export.h"

#include "grid/build_grids.h"
#include "state/colors.h"

#include <cstdint>

namespace {

QString cssColor(std::int32_t ole)
{
    return QStringLiteral("#%1%2%3")
        .arg(ole & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((ole >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((ole >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

QString styles()
{
    return QStringLiteral(
               "@page{size:A4 landscape;margin:10mm}"
               "body{font-family:'Noto Sans CJK SC','Noto Sans CJK',sans-serif;margin:0}"
               "section{page-break-after:always;break-after:page;padding:4mm}"
               "section:last-child{page-break-after:auto;break-after:auto}"
               "header{display:flex;justify-content:space-between;font-size:12pt;margin-bottom:4pt}"
               "header b{font-size:13pt}"
               "table{border-collapse:collapse;width:100%;table-layout:fixed}"
               "th{background:%1;color:%2;height:26pt;border:0.6pt solid #808080}"
               "th.corner{color:%3;width:64pt;font-size:9pt}"
               "td{border:0.6pt solid #808080;height:44pt;text-align:center;vertical-align:middle;font-size:10pt}"
               "td.clash{color:%4}"
               "p.note{font-size:9pt}")
        .arg(cssColor(color::HeaderBar), cssColor(color::HeadingText), cssColor(color::CornerText),
             cssColor(color::Related));
}

QString cellHtml(const std::vector<WeekEntry>& entries)
{
    QStringList lines;
    for (const WeekEntry& e : entries)
        lines << e.firstLine.toHtmlEscaped() << e.course.toHtmlEscaped();
    return QStringLiteral("<td%1>%2</td>")
        .arg(entries.size() > 1 ? QStringLiteral(" class=\"clash\"") : QString(), lines.join(QStringLiteral("<br>")));
}

QString pageHtml(const WeekPage& page, const PageHeading& heading)
{
    QString html = QStringLiteral("<section><header><span><b>%1</b>　%2</span><span>打印日期：%3</span></header>")
                       .arg(heading.timetable().toHtmlEscaped(), page.title().toHtmlEscaped(),
                            heading.printed.toString(Qt::ISODate));
    html += QStringLiteral("<table><tr><th class=\"corner\">星期<br>课节</th>");
    for (int d : page.weekdays)
        html += QStringLiteral("<th>") + WeekdayName(d) + QStringLiteral("</th>");
    html += QStringLiteral("</tr>");
    for (int k = 1; k <= page.periods; ++k) {
        html += QStringLiteral("<tr><th>第") + PeriodNumeral(k) + QStringLiteral("节</th>");
        for (int d : page.weekdays)
            html += cellHtml(page.at(d, k));
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    if (page.offGrid > 0)
        html += QStringLiteral("<p class=\"note\">另有 %1 节课的星期或课节不在课表格内，未列出；请用冲突检查查看。</p>")
                    .arg(page.offGrid);
    return html + QStringLiteral("</section>\n");
}

} // namespace

QString weekPagesHtml(const std::vector<WeekPage>& pages, const PageHeading& heading)
{
    QString html =
        QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>%1</title><style>%2</style></head><body>\n")
            .arg(heading.timetable().toHtmlEscaped(), styles());
    for (const WeekPage& page : pages)
        html += pageHtml(page, heading);
    html += QStringLiteral("</body></html>\n");
    // A NUL is no character of HTML; names keep the rest.
    return html.remove(QChar(u'\0'));
}

#include "export/timetable_export.h"

#include "check/timetable_rows.h"
#include "export/csv_export.h"
#include "export/html_export.h"
#include "export/paint_week_pages.h"
#include "export/pdf_export.h"
#include "export/week_pages.h"
#include "store/control_error.h"

#include <QSaveFile>

namespace {

void requireSelection(const ExportSelection& selection)
{
    if (selection.empty())
        throw ControlError(QStringLiteral("没有选择要打印或导出的班级或教师"));
}

std::vector<WeekPage> pagesOf(const TimetableRows& rows, const ExportSelection& selection)
{
    std::vector<WeekPage> pages = weekPages(rows, selection);
    if (pages.empty())
        throw ControlError(QStringLiteral("此课表没有可打印的班级或教师"));
    return pages;
}

// Written whole or not at all: a file another program has open stays as it was.
void writeFile(const QString& file, const QByteArray& bytes)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw ControlError(QStringLiteral("无法写入文件：%1（%2）").arg(file, out.errorString()));
}

} // namespace

int exportTimetable(Connection& conn, const QString& xnId, const PageHeading& heading, ExportFormat format,
                    const QString& file, const ExportSelection& selection)
{
    requireSelection(selection);
    const TimetableRows rows = readTimetableRows(conn, xnId);
    if (format == ExportFormat::Csv) {
        writeFile(file, timetableCsv(rows, selection));
        return static_cast<int>(selectedLessons(rows, selection).size());
    }
    const std::vector<WeekPage> pages = pagesOf(rows, selection);
    if (format == ExportFormat::Html)
        writeFile(file, weekPagesHtml(pages, heading).toUtf8());
    else
        writeWeekPagesPdf(file, pages, heading);
    return static_cast<int>(pages.size());
}

void printTimetable(Connection& conn, const QString& xnId, const PageHeading& heading, QPagedPaintDevice& device,
                    const ExportSelection& selection)
{
    requireSelection(selection);
    if (!paintWeekPages(device, pagesOf(readTimetableRows(conn, xnId), selection), heading))
        throw ControlError(QStringLiteral("打印机无法开始打印"));
}

#include "export/pdf_export.h"

#include "export/paint_week_pages.h"
#include "store/control_error.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

void writeWeekPagesPdf(const QString& file, const std::vector<WeekPage>& pages, const PageHeading& heading)
{
    QPdfWriter writer(file);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, kPdfMarginsMm, QPageLayout::Millimeter));
    writer.setResolution(300);
    writer.setCreator(QStringLiteral("QX_MavoWin"));
    writer.setTitle(heading.timetable());
    if (!paintWeekPages(writer, pages, heading))
        throw ControlError(QStringLiteral("无法写入文件：%1").arg(file));
}

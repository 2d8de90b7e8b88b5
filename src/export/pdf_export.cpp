#include "export/pdf_export.h"

#include "export/paint_week_pages.h"
#include "store/control_error.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

QByteArray weekPagesPdf(const std::vector<WeekPage>& pages, const PageHeading& heading)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, kPdfMarginsMm, QPageLayout::Millimeter));
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("QX_MavoWin"));
        writer.setTitle(heading.timetable());
        if (!paintWeekPages(writer, pages, heading))
            throw ControlError(QStringLiteral("无法生成 PDF 页面"));
    } // the writer finishes the document when it goes
    return buffer.data();
}

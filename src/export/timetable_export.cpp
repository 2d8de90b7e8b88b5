#include "export/timetable_export.h"

#include "export/csv_export.h"
#include "export/html_export.h"
#include "export/paint_week_pages.h"
#include "export/pdf_export.h"
#include "export/week_pages.h"
#include "store/control_error.h"
#include "store/timetable_rows.h"

#include <QSaveFile>
#include <cerrno>
#include <cstring>

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

// The system's reason for a failed write, in words: Qt's own text of a
// failed flush is often "Unknown error", the system's code says more.
QString writeFailure(int code, const QString& qtText)
{
    QString words;
    switch (code) {
    case ENOSPC: words = QStringLiteral("磁盘已满"); break;
    case EDQUOT: words = QStringLiteral("超出磁盘配额"); break;
    case EACCES:
    case EPERM: words = QStringLiteral("没有写入权限"); break;
    case EROFS: words = QStringLiteral("文件系统只读"); break;
    case ENOENT:
    case ENOTDIR: words = QStringLiteral("文件夹不存在"); break;
    case EIO: words = QStringLiteral("磁盘读写出错"); break;
    default: break;
    }
    const QString system = code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : qtText;
    return words.isEmpty() ? system : words + QStringLiteral("：") + system;
}

// Written whole or not at all, into a temporary file beside the target that
// replaces it only when every byte is on the disk: a failed write leaves the
// file as it was and no partial file beside it.
void writeFile(const QString& file, const QByteArray& bytes)
{
    QSaveFile out(file);
    auto step = [&](bool done) {
        if (done)
            return;
        const int code = errno;
        const QString qtText = out.errorString();
        out.cancelWriting();
        throw ControlError(QStringLiteral("无法写入文件：%1（%2）").arg(file, writeFailure(code, qtText)));
    };
    errno = 0;
    // Unbuffered: a write the disk refuses fails here, where Qt's buffer
    // would let a failed flush pass at the commit.
    step(out.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    errno = 0;
    step(out.write(bytes) == bytes.size());
    errno = 0;
    step(out.commit());
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
        writeFile(file, weekPagesPdf(pages, heading));
    return static_cast<int>(pages.size());
}

void printTimetable(Connection& conn, const QString& xnId, const PageHeading& heading, QPagedPaintDevice& device,
                    const ExportSelection& selection)
{
    requireSelection(selection);
    if (!paintWeekPages(device, pagesOf(readTimetableRows(conn, xnId), selection), heading))
        throw ControlError(QStringLiteral("打印机无法开始打印"));
}

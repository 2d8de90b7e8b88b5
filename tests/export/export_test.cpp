// Print and export of the small school, read back the way a user's tools
// read them: the PDF rendered and its words located by poppler, the CSV
// parsed as a spreadsheet does, the HTML as one page.
#include "export/pdf_export.h"
#include "export/timetable_export.h"
#include "export/week_page_layout.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "support/file_contents.h"
#include "support/small_school.h"
#include "support/temp_db.h"
#include "support/tool_run.h"
#include "test_paths.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

namespace {

const ExportSelection kAllClasses{true, {}, false, {}};
const ExportSelection kClassB1{false, {"B1"}, false, {}};

QString run(const QString& program, const QStringList& args) { return runProgram(program, args).out; }

// The printable area of the A4 landscape page a PDF export draws on, in points.
QRectF pdfPageArea()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, kPdfMarginsMm, QPageLayout::Millimeter)
        .paintRect(QPageLayout::Point);
}

// A CSV file's rows and fields, quotes undone as a spreadsheet program reads
// them; every character belongs to a field or a separator.
std::vector<QStringList> parseCsv(const QString& text)
{
    static const QRegularExpression field(QStringLiteral("(\"(?:[^\"]|\"\")*\"|[^,\"\r\n]*)(,|\r?\n)"));
    std::vector<QStringList> rows(1);
    qsizetype at = 0;
    for (const auto& m : field.globalMatch(text)) {
        EXPECT_EQ(m.capturedStart(), at) << text.mid(at, 20).toStdString();
        at = m.capturedEnd();
        const QString value = m.captured(1);
        rows.back() << (value.startsWith(u'"') ? value.mid(1, value.size() - 2).replace("\"\"", "\"") : value);
        if (m.captured(2) != u',')
            rows.emplace_back();
    }
    EXPECT_EQ(at, text.size());
    rows.pop_back(); // after the last line end
    return rows;
}

class ExportTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        db = makeTestDatabase(GetParam());
        insertSmallSchool(*db);
        // A name a CSV must quote, and a lesson no grid cell shows.
        db->execAll({"update info_kc set 课程名='语,\"文\"' where id='K2'", "insert into kcb values ('L9','P2',9,1)"});
        conn = std::make_unique<Connection>(db->db());
    }

    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    int exportTo(ExportFormat format, const QString& path, const ExportSelection& selection)
    {
        return exportTimetable(*conn, QStringLiteral("X1"), heading, format, path, selection);
    }

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<Connection> conn;
    PageHeading heading{"2005-2006", "2", "课表", QDate(2024, 5, 6)};
    QTemporaryDir dir;
};

TEST_P(ExportTest, CsvOfAllClassesReadsBackIntoTheTimetablesLessons)
{
    ASSERT_EQ(exportTo(ExportFormat::Csv, file("all.csv"), kAllClasses), 7);
    const QByteArray bytes = fileBytes(file("all.csv"));
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const std::vector<QStringList> rows = parseCsv(QString::fromUtf8(bytes.mid(3)));
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0], (QStringList{"星期", "课节", "课程", "班级", "教师", "课表编号"}));

    QStringList read;
    for (size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 6) << rows[i].join('|').toStdString();
        read << rows[i][5] + u'|' + rows[i][0] + u'|' + rows[i][1];
        if (rows[i][5] == QLatin1String("L3")) {
            EXPECT_EQ(rows[i].mid(2, 3), (QStringList{"语,\"文\"", "1班", "B李"}));
        }
    }
    read.sort();
    EXPECT_EQ(read, db->rows("select kcb.id,星期,课节 from kcb join info_jxjh on kcb.jxjh_id=info_jxjh.id "
                             "where xn_id='X1' order by kcb.id"));
}

// The words poppler finds on page 1 in the grid's cells, as "weekday period word".
std::multiset<QString> wordsInCells(const QString& pdf, int periods)
{
    const QString xhtml = run(QStringLiteral("pdftotext"), {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    const QRectF area = pdfPageArea();
    const WeekPageLayout layout(area.size(), periods);
    std::multiset<QString> found;
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (const auto& m : word.globalMatch(xhtml)) {
        const QPointF centre((m.captured(1).toDouble() + m.captured(3).toDouble()) / 2,
                             (m.captured(2).toDouble() + m.captured(4).toDouble()) / 2);
        for (int d = 1; d <= 7; ++d)
            for (int k = 1; k <= periods; ++k)
                if (layout.cell(d, k).translated(area.topLeft()).contains(centre))
                    found.insert(QStringLiteral("%1 %2 %3").arg(d).arg(k).arg(m.captured(5)));
    }
    return found;
}

int darkPixels(const QImage& image, const QRectF& rect)
{
    int dark = 0;
    const QRect r = rect.toRect().adjusted(2, 2, -2, -2);
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    return dark;
}

TEST_P(ExportTest, PdfOfAClassIsOneA4LandscapePageWithItsLessonsInTheirCells)
{
    const QString pdf = file("b1.pdf");
    ASSERT_EQ(exportTo(ExportFormat::Pdf, pdf, kClassB1), 1);

    // Rendered at 72 dpi, a pixel is a point.
    run(QStringLiteral("pdftoppm"), {"-png", "-r", "72", pdf, file("b1")});
    const QStringList pages = QDir(dir.path()).entryList({"b1*.png"});
    ASSERT_EQ(pages.size(), 1);
    const QImage image(dir.filePath(pages.front()));
    EXPECT_EQ(image.size(), QSize(842, 595));
    const QRectF area = pdfPageArea();
    const WeekPageLayout layout(area.size(), 8);
    EXPECT_GT(darkPixels(image, layout.cell(1, 1).translated(area.topLeft())), 20); // B李 语
    EXPECT_EQ(darkPixels(image, layout.cell(6, 1).translated(area.topLeft())), 0);  // Saturday

    const std::multiset<QString> expected = {"1 1 B李", "1 1 语", "1 3 A张", "1 3 数",
                                             "3 2 A张", "3 2 数", "4 4 C王", "4 4 英"};
    EXPECT_EQ(wordsInCells(pdf, 8), expected);
    const QString text = run(QStringLiteral("pdftotext"), {"-layout", pdf, "-"}).simplified();
    for (const char* shown :
         {"2005-2006 学年 第 2 学期 课表 班级课表：1班", "打印日期：2024-05-06", "另有 1 节课", "星期日", "第八节"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown;
}

// The share of a rectangle's pixels that carry ink.
double inkShare(const QImage& image, const QRectF& rect)
{
    int ink = 0, all = 0;
    const QRect r = rect.toRect().adjusted(2, 2, -2, -2);
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x, ++all)
            ink += qGray(image.pixel(x, y)) < 200;
    return all ? double(ink) / all : 0;
}

// A black-and-white printer gets headings as text between rules, not grey
// slabs; a weekend the day settings keep free takes no room.
TEST_P(ExportTest, PdfHeadingsAreTextOnWhiteAndAFreeWeekendIsLeftOut)
{
    db->execAll(
        {"insert into sz_xn_rq values ('X1',6,'0','0','0')", "insert into sz_xn_rq values ('X1',7,'0','0','0')"});
    const QString pdf = file("b1.pdf");
    ASSERT_EQ(exportTo(ExportFormat::Pdf, pdf, kClassB1), 1);
    run(QStringLiteral("pdftoppm"), {"-gray", "-png", "-r", "72", "-singlefile", pdf, file("gray")});
    const QImage image(file("gray.png"));
    ASSERT_EQ(image.size(), QSize(842, 595));
    const QRectF area = pdfPageArea();
    const WeekPageLayout layout(area.size(), 8, {1, 2, 3, 4, 5});
    for (const QRectF& heading : {layout.corner(), layout.weekdayHeading(5), layout.periodHeading(8)})
        EXPECT_LT(inkShare(image, heading.translated(area.topLeft())), 0.25);
    EXPECT_GT(inkShare(image, layout.weekdayHeading(5).translated(area.topLeft())), 0.01); // 星期五
    // Five columns share the width: 英 of C王 on Thursday 4 stands in its narrower cell.
    EXPECT_GT(darkPixels(image, layout.cell(4, 4).translated(area.topLeft())), 20);

    const QString text = run(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
    EXPECT_TRUE(text.contains(QStringLiteral("星期五")));
    EXPECT_FALSE(text.contains(QStringLiteral("星期六")));
    EXPECT_FALSE(text.contains(QStringLiteral("星期日")));
}

TEST_P(ExportTest, AllClassesGoIntoOnePdfAndOneHtmlPageAWeekEach)
{
    ASSERT_EQ(exportTo(ExportFormat::Pdf, file("all.pdf"), kAllClasses), 2);
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {file("all.pdf")}).contains(QRegularExpression("Pages:\\s+2\\n")));

    ASSERT_EQ(exportTo(ExportFormat::Html, file("all.html"), kAllClasses), 2);
    const QString html = QString::fromUtf8(fileBytes(file("all.html")));
    EXPECT_EQ(html.count(QStringLiteral("<section>")), 2);
    EXPECT_FALSE(html.contains(QRegularExpression("<link|<script|src=|url\\(")));
    // 1班's week, row by row: the first period's seven cells, then the second's.
    const QString week = html.section(QStringLiteral("<section>"), 1, 1);
    QStringList cells;
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>([^<]*(?:<br>[^<]*)*)</td>"));
    for (const auto& m : cell.globalMatch(week))
        cells << m.captured(1);
    ASSERT_EQ(cells.size(), 56);
    EXPECT_EQ(cells[0], QStringLiteral("B李<br>语"));
    EXPECT_EQ(cells[2 * 7 + 0], QStringLiteral("A张<br>数"));
    EXPECT_EQ(cells[1 * 7 + 2], QStringLiteral("A张<br>数"));
    EXPECT_EQ(cells[3 * 7 + 3], QStringLiteral("C王<br>英"));
    EXPECT_EQ(cells.count(QString()), 52);
}

TEST_P(ExportTest, AnEmptyOrUnknownSelectionOrAnUnwritableFileIsRefused)
{
    const struct {
        ExportSelection selection;
        QString file;
        const char* message;
    } cases[] = {
        {{}, file("x.pdf"), "没有选择要打印或导出的班级或教师"},
        {{false, {}, false, {"T9"}}, file("x.pdf"), "教师“T9”在此课表中没有教学计划"},
        {kAllClasses, dir.filePath("missing/x.csv"), "无法写入文件"},
    };
    for (const auto& c : cases) {
        try {
            exportTo(ExportFormat::Csv, c.file, c.selection);
            ADD_FAILURE() << c.message;
        } catch (const ControlError& e) {
            EXPECT_TRUE(e.description().startsWith(QString::fromUtf8(c.message))) << e.description().toStdString();
        }
    }
}

TEST_P(ExportTest, TheToolExportsTheClassesAndTeachersItIsGiven)
{
    const ToolRun some =
        runTool("kbtz-export",
                db->driveArguments() + QStringList{"--csv", file("some.csv"), "--classes", "B1", "--teachers", "T3"});
    EXPECT_EQ(some.exitCode, 0) << some.out.toStdString();
    QStringList ids;
    for (const QStringList& row : parseCsv(QString::fromUtf8(fileBytes(file("some.csv")).mid(3))))
        ids << row.value(5);
    // 1班's lessons (with the one off the grid), then C王's other one.
    EXPECT_EQ(ids, (QStringList{"课表编号", "L3", "L1", "L5", "L6", "L9", "L4"}));

    EXPECT_EQ(runTool("kbtz-export", db->driveArguments() << "--pdf").exitCode, 2);
}

// A real tmpfs filled to its last byte: every format fails with the
// system's reason, exits 2, and leaves no file, not even a partial one.
TEST_P(ExportTest, OnAFullDiskEveryFormatExitsTwoWithTheReasonAndLeavesNoFile)
{
    const QString disk = file("disk");
    QDir().mkpath(disk);
    const ToolRun mounted = runProgram("mount", {"-t", "tmpfs", "-o", "size=256k", "kbtz-full", disk});
    if (mounted.exitCode != 0)
        GTEST_SKIP() << "no tmpfs may be mounted here: " << mounted.out.toStdString();
    struct Unmount {
        QString at;
        ~Unmount() { run(QStringLiteral("umount"), {at}); }
    } unmountAtEnd{disk};
    QFile filler(disk + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (filler.write(block) > 0) {}
    filler.close();
    ASSERT_EQ(QStorageInfo(disk).bytesAvailable(), 0) << filler.size();

    for (const char* format : {"--pdf", "--csv", "--html"}) {
        const QString target = disk + QStringLiteral("/out.") + QString::fromLatin1(format).mid(2);
        const ToolRun full = runTool("kbtz-export", db->driveArguments() << format << target);
        EXPECT_EQ(full.exitCode, 2) << format << ": " << full.out.toStdString();
        EXPECT_TRUE(full.out.contains(QStringLiteral("磁盘已满：No space left on device"))) << full.out.toStdString();
        EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden), QStringList{"filler"}) << format;
    }
}

// A NUL inside a name (SQLite keeps one; PostgreSQL refuses it in text) is
// dropped from CSV and HTML, and the rest of the name stays.
TEST_P(ExportTest, NulsInNamesAreDroppedFromCsvAndHtml)
{
    if (GetParam() != TestEngine::SQLite)
        GTEST_SKIP() << "PostgreSQL keeps no NUL in text";
    db->exec("update info_js set 姓名='A'||char(0)||'张' where id='T1'");
    for (const ExportFormat format : {ExportFormat::Csv, ExportFormat::Html}) {
        const QString path = file(format == ExportFormat::Csv ? "nul.csv" : "nul.html");
        exportTo(format, path, kAllClasses);
        const QByteArray bytes = fileBytes(path);
        EXPECT_FALSE(bytes.contains('\0')) << path.toStdString();
        EXPECT_TRUE(bytes.contains(QStringLiteral("A张").toUtf8())) << path.toStdString();
    }
}

KBTZ_ON_EVERY_ENGINE(ExportTest);

} // namespace

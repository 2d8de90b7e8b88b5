// Every tool on a database that has only the documented tables: what this
// project adds (the weekday of a day setting, the change history, the import
// tables) is looked up and left alone when it is missing.
#include "support/documented_school.h"
#include "support/tool_run.h"
#include "test_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DocumentedTablesTest : public ::testing::Test {
protected:
    void SetUp() override { onSqliteFile(path, writeDocumentedSchool); }

    QTemporaryDir dir;
    const QString path = dir.filePath("school.db");
};

TEST_F(DocumentedTablesTest, CheckAndEveryExportFormatRun)
{
    const struct {
        const char *format, *printed;
    } cases[] = {{"pdf", "2 pages"}, {"csv", "6 lessons"}, {"html", "2 pages"}};
    for (const auto& c : cases) {
        const QString written = dir.filePath(QStringLiteral("a.") + QLatin1String(c.format));
        const ToolRun run =
            runTool("kbtz-export", {"--db", path, QStringLiteral("--") + QLatin1String(c.format), written});
        EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(c.printed)) << run.out.toStdString();
        EXPECT_GT(QFileInfo(written).size(), 0) << c.format;
    }

    const ToolRun check = runTool("kbtz-check", {"--db", path, "--json"});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(check.out.toUtf8()).object();
    EXPECT_EQ(report["conflicts"].toInt(), 0);
    EXPECT_EQ(report["hoursLeft"].toObject()["hours"].toInt(), 1);
}

// The driver works as a desk does: analysis, an edit (no history to write),
// the conflict check and the history, which is empty without kcb_log.
TEST_F(DocumentedTablesTest, TheDriverEditsChecksAndShowsNoHistory)
{
    const ToolRun run = runTool("kbtz-drive", {"--db", path},
                                "ini 2005-2006 2 课表 1\n"
                                "pick cmbBj 0\n"
                                "rclick 班级 1 3\n"
                                "dragcell 班级 1 3 班级 2 4\n"
                                "conflicts\n"
                                "history 5\n");
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString();
    const QStringList lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 6) << run.out.toStdString();
    for (const QString& line : lines)
        EXPECT_FALSE(QJsonDocument::fromJson(line.toUtf8()).object().contains("error")) << line.toStdString();
    const QJsonObject conflicts = QJsonDocument::fromJson(lines[4].toUtf8()).object()["conflicts"].toObject();
    EXPECT_EQ(conflicts["conflicts"].toInt(), 0);
    EXPECT_EQ(QJsonDocument::fromJson(lines[5].toUtf8()).object()["history"].toArray().size(), 0);

    onSqliteFile(path, [](QSqlDatabase& db) {
        QSqlQuery q("select 星期,课节 from kcb where id='L1'", db);
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt() * 10 + q.value(1).toInt(), 24);
    });
}

} // namespace

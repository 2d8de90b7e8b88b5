// The test host on a database of only the documented tables: its check, its
// print and export, and its history panel, which says there is no history.
#include "host/conflicts_panel.h"
#include "host/frm_kbtz.h"
#include "host/history_panel.h"
#include "support/documented_school.h"

#include <QLabel>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

TEST(DocumentedTablesHost, CheckPrintExportAndHistoryWork)
{
    QTemporaryDir dir;
    onSqliteFile(dir.filePath("school.db"), [&](QSqlDatabase& db) {
        writeDocumentedSchool(db);
        FrmKbTz form;
        form.load(db);

        form.conflicts()->refresh();
        QTreeWidget* list = form.conflicts()->list();
        ASSERT_EQ(list->topLevelItemCount(), 1);
        EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("剩余课时（1）"));

        const ExportSelection all{true, {}, false, {}};
        const struct {
            ExportFormat format;
            const char* file;
            int written; // pages, or lessons for CSV
        } exports[] = {
            {ExportFormat::Pdf, "a.pdf", 2}, {ExportFormat::Csv, "a.csv", 6}, {ExportFormat::Html, "a.html", 2}};
        for (const auto& e : exports)
            EXPECT_EQ(form.C()->exportTimetables(e.format, dir.filePath(e.file), all), e.written) << e.file;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("printed.pdf"));
        EXPECT_NO_THROW(form.C()->printTimetables(printer, all));

        const QStringList notes = [&] {
            QStringList texts;
            for (QLabel* label : form.history()->findChildren<QLabel*>())
                texts << label->text();
            return texts;
        }();
        EXPECT_TRUE(notes.contains(QStringLiteral("数据库中没有 kcb_log 表，不记录调整历史。")))
            << notes.join('|').toStdString();
    });
}

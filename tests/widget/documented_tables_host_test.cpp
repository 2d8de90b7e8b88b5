// The test host on a database of only the documented tables: its check and
// its history panel, which says there is no history. (Its print and export
// read the timetable as kbtz-export does, which the export tests run on such
// a database.)
#include "school_window.h"

#include "host/conflicts_panel.h"
#include "host/history_panel.h"
#include "support/documented_school.h"

#include <QLabel>
#include <QTemporaryDir>

TEST(DocumentedTablesHost, CheckAndHistoryWork)
{
    QTemporaryDir dir;
    onSqliteFile(dir.filePath("school.db"), [&](QSqlDatabase& db) {
        writeDocumentedSchool(db);
        FrmKbTz form;
        form.load(db);

        form.conflicts()->refresh();
        EXPECT_EQ(topLevelTexts(form.conflicts()->list()), QStringList{"剩余课时（1）"});

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

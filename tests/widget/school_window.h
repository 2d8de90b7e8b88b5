#pragma once

#include "gen/writer.h"
#include "host/frm_kbtz.h"
#include "support/temp_db.h"
#include "control/qx_mavowin.h"
#include "qxmavowin/qxmavowin_widget.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

class Connection;

// Saves what a window shows as test-artefacts/NAME.png in the build tree, to
// be looked at.
inline void keepPicture(QWidget& window, const QString& name)
{
    QCoreApplication::processEvents();
    QDir().mkpath(QStringLiteral(KBTZ_TEST_ARTEFACTS_DIR));
    EXPECT_TRUE(window.grab().save(QStringLiteral(KBTZ_TEST_ARTEFACTS_DIR "/%1.png").arg(name)));
}

// How the screen shows an OLE colour (blue-green-red).
inline std::string screenColor(std::uint32_t ole)
{
    return QColor(ole & 0xFF, (ole >> 8) & 0xFF, (ole >> 16) & 0xFF).name().toStdString();
}

// The colour a widget shows at a point, its top-left corner when none given.
inline std::string shownColor(QWidget* w, QPoint at = {1, 1})
{
    return w->grab().toImage().pixelColor(at).name().toStdString();
}

// What assistive tools read of a widget.
inline QString said(QObject* widget, QAccessible::Text text)
{
    return QAccessible::queryAccessibleInterface(widget)->text(text);
}

// The texts of a tree's top-level items, the columns from first to last of
// each joined by "|".
inline QStringList topLevelTexts(QTreeWidget* tree, int first = 0, int last = 0)
{
    QStringList rows;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QStringList row;
        for (int column = first; column <= last; ++column)
            row << tree->topLevelItem(i)->text(column);
        rows << row.join(u'|');
    }
    return rows;
}

// A double click on an item as the item view takes it: the press of the
// first click, then the second.
inline void doubleClick(QTreeWidget* tree, QTreeWidgetItem* item)
{
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// Answers every message box that comes up while timer runs; see() looks at each first.
inline void answerBoxes(QTimer& timer, const std::function<void(QMessageBox*)>& see)
{
    QObject::connect(&timer, &QTimer::timeout, [see] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            see(box);
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    timer.start(0);
}

// Chooses an entry of a selector the window holds, as the user does.
inline void chooseEntry(QWidget& window, const char* name, const QString& entry)
{
    auto* box = window.findChild<QComboBox*>(QLatin1String(name));
    ASSERT_NE(box, nullptr);
    const int index = box->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// The sample school of data/school.sql loaded into a fresh SQLite file, in one
// transaction: a file system that syncs every commit makes it slow otherwise.
inline void loadSchool(TestDatabase& db)
{
    QFile f(QStringLiteral(KBTZ_WIDGET_DATA_DIR "/school.sql"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QSqlDatabase conn = db.db();
    ASSERT_TRUE(conn.transaction());
    const QString error = gen::runScript(conn, QString::fromUtf8(f.readAll()));
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_TRUE(conn.commit());
}

// A host window holding the control, started on the school's timetable.
class SchoolWindow : public QWidget, public WidgetHostWindow {
public:
    // setup runs on the control's connection before QxIni (fault hooks).
    explicit SchoolWindow(std::function<void(Connection&)> setup = {}) : WidgetHostWindow(this)
    {
        loadSchool(db);
        C = new QxMavoWinWidget(this);
        if (setup)
            C->control().setConnectionSetup(std::move(setup));
        resize(C->sizeHint());
        C->QxIni(db.db(), QStringLiteral("2005-2006"), QStringLiteral("2"), QStringLiteral("课表"), this, 1);
        show();
        QCoreApplication::processEvents();
    }
    // The control lets go of the database before the database goes.
    ~SchoolWindow() override { delete C; }

    TempDb db;
    QxMavoWinWidget* C = nullptr;

    QWidget* cell(Side kind, int weekday, int period) const { return C->cellWidget(kind, weekday, period - 1); }
    template <typename T = QWidget> T* child(const char* name) const
    {
        return C->findChild<T*>(QString::fromLatin1(name));
    }

    // A choice of the user in a selector: each key step onto the next entry.
    void chooseByKeys(const char* comboName, const QString& entry)
    {
        auto* box = child<QComboBox>(comboName);
        const int target = box->findText(entry);
        ASSERT_GE(target, 0) << entry.toStdString();
        box->setFocus();
        while (box->currentIndex() < target)
            QTest::keyClick(box, Qt::Key_Down);
    }
};

// The school in its own SQLite file, there before a window opens on it and
// after the window is gone.
struct SchoolData {
    SchoolData() { loadSchool(db); }
    TempDb db;
};

// The test host frmKbTz loaded with the school and shown; sized first, when
// asked, by beforeShow.
class SchoolForm : public SchoolData, public FrmKbTz {
public:
    explicit SchoolForm(const std::function<void(FrmKbTz&)>& beforeShow = {})
    {
        load(db.db());
        if (beforeShow)
            beforeShow(*this);
        show();
    }
};

#pragma once

// The adjustment tests run on the small school (support/small_school.h),
// eight periods a day.

#include "state/colors.h"
#include "drive/driver.h"
#include "store/adjust_statements.h"
#include "store/analysis_statements.h"
#include "store/grid_statements.h"
#include "store/plan_statements.h"
#include "store/connection.h"
#include "store/value_text.h"
#include "support/small_school.h"
#include "support/temp_db.h"

#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>
#include <set>

// Rows of one table, one insert each, so that a table's rows read as one list.
inline void insertRows(TestDatabase& db, const QString& table, const QStringList& rows)
{
    for (const QString& row : rows)
        db.exec(QStringLiteral("insert into %1 values (%2)").arg(table, row));
}

class AdjustTest : public ::testing::TestWithParam<TestEngine> {
protected:
    using Slot = std::pair<int, int>; // weekday, period

    void SetUp() override
    {
        db = makeTestDatabase(GetParam());
        if (!withSchool)
            return;
        insertSmallSchool(*db);
        start();
    }

    void TearDown() override
    {
        driver.reset();
        db.reset();
        guids = 0;
    }
    // A fresh database and control, for the next case of a loop.
    void afresh()
    {
        TearDown();
        SetUp();
    }

    // A control on the database, started on the timetable.
    void start(const QString& ini = QStringLiteral("ini 2005-2006 2 课表 1"))
    {
        driver = std::make_unique<Driver>(db->db());
        control().setGuidSource([this](GuidRecord& g) {
            g = GuidRecord{};
            g.Data1 = ++guids;
            return 0;
        });
        control().setPause([this](double seconds) { pauses.push_back(seconds); });
        run(ini);
    }

    // Runs a driver command that must succeed, at this desk or another, and
    // forgets what came before. "{P5}" stands for plan item P5's row in the
    // list the command names.
    void run(const QString& line, bool forget = false, Driver* at = nullptr)
    {
        if (forget) {
            control().conn().takeTrace();
            control().messages().take();
            pauses.clear();
        }
        Driver& desk = at ? *at : *driver;
        const QJsonObject out = desk.run(withRows(line, desk));
        EXPECT_TRUE(out.value("ok").toBool()) << qPrintable(line) << ": " << qPrintable(out.value("error").toString());
    }
    void runAll(const QStringList& lines, Driver* at = nullptr)
    {
        for (const QString& line : lines)
            run(line, false, at);
    }
    QString withRows(QString line, Driver& desk)
    {
        static const QRegularExpression plan(QStringLiteral("\\{([^}]+)\\}"));
        const QRegularExpressionMatch m = plan.match(line);
        return m.hasMatch()
                   ? line.replace(m.captured(0), QString::number(row(line.section(u' ', 1, 1), m.captured(1), &desk)))
                   : line;
    }

    QX_MavoWin& control() { return driver->control(); }
    Surface& surface() { return control().surface(); }
    ScheduleContext& context() { return control().context(); }
    Label& cell(Side kind, int weekday, int period) { return control().cell(kind, weekday, period - 1); }
    // The control's own statements sent since the last look; the reads of an
    // edit's write-time check are left out.
    std::vector<TraceEntry> statements()
    {
        std::vector<TraceEntry> own;
        for (TraceEntry& e : control().conn().takeTrace())
            if (!e.check)
                own.push_back(std::move(e));
        return own;
    }
    QString status() { return driver->run("dump")["state"].toObject()["status"].toString(); }
    QStringList kcb() { return db->rows("select id,jxjh_id,星期,课节 from kcb order by id"); }

    // The insert, update and delete texts sent since the last look.
    QStringList writes()
    {
        QStringList out;
        for (const TraceEntry& e : statements())
            if (e.op == TraceEntry::Op::Execute)
                out << e.text;
        return out;
    }

    // Every cell of a grid but the listed ones has the back colour.
    void expectBack(Side kind, std::int32_t expected, const std::set<Slot>& except = {})
    {
        for (int d = 1; d <= 7; ++d) {
            for (int k = 1; k <= 8; ++k) {
                if (except.count({d, k}))
                    continue;
                EXPECT_EQ(cell(kind, d, k).BackColor, expected) << qPrintable(sideName(kind)) << " " << d << ":" << k;
            }
        }
    }

    // Makes execute statement number n (from 1) from now on fail.
    void failExecute(int n)
    {
        auto count = std::make_shared<int>(0);
        control().conn().setFaultHook([count, n](const TraceEntry& e) {
            if (e.op == TraceEntry::Op::Execute && ++*count == n)
                throw DbError(QStringLiteral("磁盘已满"));
        });
    }

    // The text of the one message box, a warning, that a failure or refusal
    // showed at a desk, after which the host is usable again.
    QString warning(Driver* at = nullptr)
    {
        Driver& desk = at ? *at : *driver;
        const auto shown = desk.control().messages().take();
        expectHostUsable(desk);
        EXPECT_EQ(shown.size(), 1u);
        if (shown.size() != 1)
            return {};
        EXPECT_EQ(shown[0].title, QStringLiteral("警告"));
        EXPECT_EQ(shown[0].style, 64);
        return shown[0].text;
    }
    void expectWarning(const QString& text) { EXPECT_EQ(warning(), text); }
    void expectHostUsable(Driver& desk, const QString& line = {})
    {
        EXPECT_TRUE(desk.host().Enabled()) << qPrintable(line);
        EXPECT_EQ(desk.host().MousePointer(), 0) << qPrintable(line);
    }

    void expectArmed()
    {
        EXPECT_TRUE(context().CaptureDragSource);
        EXPECT_EQ(context().DragSourceCell, nullptr);
    }

    // A plan list's entry by plan id: its row, and its hours left ("-" when absent).
    int row(const QString& list, const QString& planId, Driver* at = nullptr)
    {
        const auto& items = (at ? *at : *driver).control().surface().listByName(list)->ListItems;
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].Tag.section(u'\t', 0, 0) == planId)
                return static_cast<int>(i);
        return -1;
    }
    QString hoursLeft(const char* list, const QString& planId)
    {
        const int r = row(list, planId);
        return r < 0 ? QStringLiteral("-") : surface().listByName(list)->ListItems[size_t(r)].SubItem(3);
    }

    // A desk's class grid shows exactly the lessons the database holds for
    // its class: every occupied slot, and the lesson itself where the slot
    // holds one only.
    void expectClassGridShowsDatabase(Driver& desk)
    {
        const QString classId = joinText(
            desk.control().context().ClassIds.at(static_cast<size_t>(desk.control().surface().cmbBj.ListIndex())));
        const QStringList rows = db->rows(QStringLiteral("select 星期,课节,kcb.id from kcb join info_jxjh on "
                                                         "kcb.jxjh_id=info_jxjh.id where bj_id='%1' and 课节>0")
                                              .arg(classId));
        for (int d = 1; d <= 7; ++d) {
            for (int k = 1; k <= 8; ++k) {
                const QString slot = QStringLiteral("%1|%2|").arg(d).arg(k);
                const QString shown = desk.control().cell(C, d, k - 1).Tag.section(u'\t', 0, 0);
                EXPECT_TRUE(shown.isEmpty()
                                ? rows.filter(QRegularExpression('^' + QRegularExpression::escape(slot))).isEmpty()
                                : rows.contains(slot + shown))
                    << d << ":" << k << " " << qPrintable(shown);
            }
        }
    }

    bool withSchool = true; // false: the test fills the database and starts
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<Driver> driver;
    std::uint32_t guids = 0;
    std::vector<double> pauses;

    const Side C = Side::Class;
    const Side T = Side::Teacher;
};

inline QString guidId(int n)
{
    return QStringLiteral("{%1-0000-0000-0000-000000000000}").arg(n, 8, 16, QLatin1Char('0'));
}

#pragma once

// A small timetable for the adjustment tests, eight periods a day:
//
//   lesson  plan  class  teacher  course  slot      plan hours
//   L1, L5  P1    B1     T1       K1      Mon 3, Wed 2   5
//   L3      P2    B1     T2       K2      Mon 1          5
//   L6      P5    B1     T3       K3      Thu 4          2
//   L2      P3    B2     T1       K1      Tue 1          4
//   L4      P4    B2     T3       K3      Mon 3          3
//
// Selector order: classes 1班 (B1), 2班 (B2); teachers A张 (T1), B李 (T2), C王 (T3).

#include "control/colors.h"
#include "drive/driver.h"
#include "store/connection.h"
#include "store/statements.h"
#include "support/temp_db.h"

#include <QJsonObject>
#include <gtest/gtest.h>
#include <set>

class AdjustTest : public ::testing::TestWithParam<TestEngine> {
protected:
    using Slot = std::pair<int, int>; // weekday, period

    void SetUp() override
    {
        db = makeTestDatabase(GetParam());
        db->execAll({
            "insert into sz_xn values ('X1','2005-2006','2','课表')",
            "insert into sz_xn_rq values ('X1',1,'4','4','0')",
            "insert into info_bj values ('B1','1班','高一','高中','理')",
            "insert into info_bj values ('B2','2班','高一','高中','理')",
            "insert into info_js values ('T1','A张','AZ','数学组')",
            "insert into info_js values ('T2','B李','BL','语文组')",
            "insert into info_js values ('T3','C王','CW','英语组')",
            "insert into info_kc values ('K1','数学','数')",
            "insert into info_kc values ('K2','语文','语')",
            "insert into info_kc values ('K3','英语','英')",
            "insert into info_jxjh values ('P1','X1','B1','T1','K1',5)",
            "insert into info_jxjh values ('P2','X1','B1','T2','K2',5)",
            "insert into info_jxjh values ('P3','X1','B2','T1','K1',4)",
            "insert into info_jxjh values ('P4','X1','B2','T3','K3',3)",
            "insert into info_jxjh values ('P5','X1','B1','T3','K3',2)",
            "insert into kcb values ('L1','P1',1,3)",
            "insert into kcb values ('L5','P1',3,2)",
            "insert into kcb values ('L3','P2',1,1)",
            "insert into kcb values ('L6','P5',4,4)",
            "insert into kcb values ('L2','P3',2,1)",
            "insert into kcb values ('L4','P4',1,3)",
        });
        driver = std::make_unique<Driver>(db->db());
        control().setGuidSource([this](GuidRecord& g) {
            g = GuidRecord{};
            g.Data1 = ++guids;
            return 0;
        });
        control().setPause([this](double seconds) { pauses.push_back(seconds); });
        run("ini 2005-2006 2 课表 1");
    }

    // Runs a driver command that must succeed, and forgets what came before.
    void run(const QString& line, bool forget = false)
    {
        if (forget) {
            control().conn().takeTrace();
            control().messages().take();
            pauses.clear();
        }
        const QJsonObject out = driver->run(line);
        EXPECT_TRUE(out.value("ok").toBool()) << qPrintable(line) << ": " << qPrintable(out.value("error").toString());
    }

    QX_MavoWin& control() { return driver->control(); }
    Surface& surface() { return control().surface(); }
    ScheduleContext& context() { return control().context(); }
    Label& cell(const QString& kind, int weekday, int period) { return control().cell(kind, weekday, period - 1); }
    std::vector<TraceEntry> statements() { return control().conn().takeTrace(); }
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
    void expectBack(const QString& kind, std::int32_t expected, const std::set<Slot>& except = {})
    {
        for (int d = 1; d <= 7; ++d) {
            for (int k = 1; k <= 8; ++k) {
                if (except.count({d, k}))
                    continue;
                EXPECT_EQ(cell(kind, d, k).BackColor, expected) << qPrintable(kind) << " " << d << ":" << k;
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

    // One message box of the failure path was shown and the host is usable again.
    void expectWarning(const QString& text)
    {
        const auto shown = control().messages().take();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, text);
        EXPECT_EQ(shown[0].style, 64);
        EXPECT_EQ(shown[0].title, QStringLiteral("警告"));
        EXPECT_TRUE(driver->host().Enabled());
        EXPECT_EQ(driver->host().MousePointer(), 0);
    }

    void expectArmed()
    {
        EXPECT_TRUE(context().CaptureDragSource);
        EXPECT_EQ(context().DragSourceCell, nullptr);
    }

    // A plan list's entry by plan id: its row, and its hours left ("-" when absent).
    int row(const char* list, const QString& planId)
    {
        const auto& items = surface().listByName(list)->ListItems;
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

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<Driver> driver;
    std::uint32_t guids = 0;
    std::vector<double> pauses;

    const QString C = QStringLiteral("班级");
    const QString T = QStringLiteral("教师");
};

#define KBTZ_ON_EVERY_ENGINE(Suite)                                                                        \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::ValuesIn(availableEngines()),                     \
                             [](const auto& info) { return engineName(info.param); })

inline QString guidId(int n) { return QStringLiteral("{%1-0000-0000-0000-000000000000}").arg(n, 8, 16, QLatin1Char('0')); }

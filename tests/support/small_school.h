#pragma once

#include "support/test_database.h"

// The small timetable most tests share ("2005-2006", term "2", "课表", id
// X1), with the given periods in the morning and afternoon:
//
//   lesson  plan  class  teacher  course  slot      plan hours
//   L1, L5  P1    B1     T1       K1      Mon 3, Wed 2   5
//   L3      P2    B1     T2       K2      Mon 1          5
//   L6      P5    B1     T3       K3      Thu 4          2
//   L2      P3    B2     T1       K1      Tue 1          4
//   L4      P4    B2     T3       K3      Mon 3          3
//
// Classes 1班 (B1), 2班 (B2) of 高中 高一; teachers A张 (T1, code AZ),
// B李 (T2, BL), C王 (T3, CW); courses 数学 (K1), 语文 (K2), 英语 (K3).
// Without lessons, only the timetable, the classes, teachers, courses and
// plan items are inserted.
inline void insertSmallSchool(TestDatabase& db, const QString& morning = "4", const QString& afternoon = "4",
                              bool lessons = true)
{
    db.execAll({
        "insert into sz_xn values ('X1','2005-2006','2','课表')",
        QStringLiteral("insert into sz_xn_rq values ('X1',1,'%1','%2','0')").arg(morning, afternoon),
        "insert into info_bj values ('B1','1班','高一','高中','理'), ('B2','2班','高一','高中','理')",
        "insert into info_js values ('T1','A张','AZ','数学组'), ('T2','B李','BL','语文组'), ('T3','C王','CW','英语组')",
        "insert into info_kc values ('K1','数学','数'), ('K2','语文','语'), ('K3','英语','英')",
        "insert into info_jxjh values ('P1','X1','B1','T1','K1',5), ('P2','X1','B1','T2','K2',5), "
        "('P3','X1','B2','T1','K1',4), ('P4','X1','B2','T3','K3',3), ('P5','X1','B1','T3','K3',2)",
    });
    if (lessons)
        db.exec("insert into kcb values ('L1','P1',1,3), ('L5','P1',3,2), ('L3','P2',1,1), ('L6','P5',4,4), "
                "('L2','P3',2,1), ('L4','P4',1,3)");
}

#pragma once

#include "support/sqlite_file.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <gtest/gtest.h>

// A school in a database that has exactly the tables and columns a
// timetabling program documents for the control, and nothing of this
// project's own: no weekday in sz_xn_rq, no kcb_log, no index, no import
// tables. Two classes, three teachers, 4 + 4 periods a day, six lessons
// without a conflict; 1班 may not have lessons on Friday 1 to 2, and plan
// item P2 has an hour left.
inline const QStringList& documentedSchoolStatements()
{
    static const QStringList statements = {
        "create table sz_xn (id text, 学年 text, 学期 text, 排课名称 text)",
        "create table sz_xn_rq (xn_id text, 上午 text, 下午 text, 晚上 text)",
        "create table info_bj (id text, 班级 text, 年级 text, 级别 text, 文理类型 text)",
        "create table info_js (id text, 姓名 text, 简码 text, 教研组 text)",
        "create table info_kc (id text, 课程名 text, 课程简称 text)",
        "create table info_jxjh (id text, xn_id text, bj_id text, js_id text, kc_id text, 每周课时 integer)",
        "create table kcb (id text, jxjh_id text, 星期 integer, 课节 integer)",
        "create table sz_js (xn_id text, js_id text, 不排课节 text, 是否连排 integer)",
        "create table sz_bj (xn_id text, bj_id text, 不排课节 text)",
        "create table sz_kc (xn_id text, kc_id text, 不排课节 text, 优先级 integer, 同时排班数 integer, 连上节数 integer)",
        "create table sz_jxjh (jxjh_id text, 不排课节 text)",
        "insert into sz_xn values ('X1','2005-2006','2','课表')",
        "insert into sz_xn_rq values ('X1','4','4','0')",
        "insert into info_bj values ('B1','1班','高一','高中','理'), ('B2','2班','高一','高中','理')",
        "insert into info_js values ('T1','A张','AZ','数学组'), ('T2','B李','BL','语文组'), ('T3','C王','CW','英语组')",
        "insert into info_kc values ('K1','数学','数'), ('K2','语文','语'), ('K3','英语','英')",
        "insert into info_jxjh values ('P1','X1','B1','T1','K1',2), ('P2','X1','B1','T2','K2',2), "
        "('P3','X1','B2','T1','K1',2), ('P4','X1','B2','T3','K3',1)",
        "insert into kcb values ('L1','P1',1,3), ('L2','P1',3,2), ('L3','P2',1,1), ('L4','P3',2,1), ('L5','P3',4,5), "
        "('L6','P4',1,3)",
        "insert into sz_bj values ('X1','B1','5:1\t2/')",
        "insert into sz_js values ('X1','T1','',0)",
    };
    return statements;
}

inline void writeDocumentedSchool(QSqlDatabase db)
{
    for (const QString& statement : documentedSchoolStatements()) {
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(statement)) << q.lastError().text().toStdString() << " in: " << statement.toStdString();
    }
}

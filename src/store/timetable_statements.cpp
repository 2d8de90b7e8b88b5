#include "store/timetable_statements.h"

#include "store/value_text.h"

namespace sql {

namespace {

QString q(const QString& value) { return sqlEscaped(value); }

} // namespace

QString findTimetable(const QString& schoolYear, const QString& term, const QString& scheduleName)
{
    return QStringLiteral("select * from sz_xn where 学年='") + q(schoolYear) + QStringLiteral("' and 学期='") +
           q(term) + QStringLiteral("' and 排课名称='") + q(scheduleName) + QStringLiteral("'");
}

QString allTimetables()
{
    return QStringLiteral("select id,学年,学期,排课名称 from sz_xn order by 学年,学期,排课名称,id");
}

QString timetablePlanItems(const QString& xnId)
{
    return QStringLiteral("select info_jxjh.id,info_jxjh.bj_id,info_jxjh.js_id,info_jxjh.kc_id,info_jxjh.每周课时,"
                          "info_bj.班级,info_js.姓名,info_kc.课程名,info_kc.课程简称 from "
                          "((info_jxjh left join info_bj on info_bj.id=info_jxjh.bj_id) "
                          "left join info_js on info_js.id=info_jxjh.js_id) "
                          "left join info_kc on info_kc.id=info_jxjh.kc_id where info_jxjh.xn_id='") +
           q(xnId) + QStringLiteral("'");
}

QString timetableLessons(const QString& xnId)
{
    return QStringLiteral("select kcb.id,kcb.jxjh_id,kcb.星期,kcb.课节 from kcb inner join info_jxjh on "
                          "kcb.jxjh_id=info_jxjh.id where info_jxjh.xn_id='") +
           q(xnId) + QStringLiteral("' order by kcb.id");
}

QString timetableDays(const QString& xnId, bool withWeekday)
{
    return QStringLiteral("select ") + (withWeekday ? QStringLiteral("星期") : QStringLiteral("null as 星期")) +
           QStringLiteral(",上午,下午,晚上 from sz_xn_rq where xn_id='") + q(xnId) + QStringLiteral("'");
}

QString timetableTeacherSettings(const QString& xnId)
{
    return QStringLiteral("select js_id,不排课节 from sz_js where xn_id='") + q(xnId) + QStringLiteral("'");
}

QString timetableClassSettings(const QString& xnId)
{
    return QStringLiteral("select bj_id,不排课节 from sz_bj where xn_id='") + q(xnId) + QStringLiteral("'");
}

QString timetableCourseSettings(const QString& xnId)
{
    return QStringLiteral("select kc_id,不排课节 from sz_kc where xn_id='") + q(xnId) + QStringLiteral("'");
}

} // namespace sql

#include "store/grid_statements.h"

#include "store/sql_dialect.h"
#include "store/value_text.h"

namespace sql {

namespace {

QString q(const QString& value) { return sqlEscaped(value); }

} // namespace

QString periodCount(int dataType, const QString& schoolYear, const QString& term, const QString& scheduleName)
{
    const QString head =
        isSqlServer(dataType)
            ? QStringLiteral(
                  "select max(convert(numeric,上午)+convert(numeric,下午)+convert(numeric,晚上)) as maxs from sz_xn_rq,sz_xn where sz_xn_rq.xn_id=sz_xn.id and  学年='")
            : QStringLiteral(
                  "select max(cint(上午)+cint(下午)+cint(晚上)) as maxs from sz_xn_rq,sz_xn where sz_xn_rq.xn_id=sz_xn.id and  学年='");
    return head + q(schoolYear) + QStringLiteral("' and 学期='") + q(term) + QStringLiteral("' and 排课名称='") +
           q(scheduleName) + QStringLiteral("'");
}

QString classFilter(const QString& classId) { return QStringLiteral("bj_id='") + q(classId) + QStringLiteral("'"); }

QString teacherFilter(const QString& teacherId)
{
    return QStringLiteral("js_id='") + q(teacherId) + QStringLiteral("'");
}

QString gridFill(const QString& xnId, const QString& filter)
{
    return QStringLiteral(
               "select kcb.id as kcb_id,bj_id,js_id,kc_id,星期,课节,课程简称,姓名,班级 from kcb left join (select info_jxjh.*,info_kc.课程简称 from info_kc right join (select info_jxjh.*,info_js.姓名 from info_js right join  ") +
           QStringLiteral(
               "(select info_jxjh.*,info_bj.班级 from info_jxjh left join info_bj on info_jxjh.bj_id=info_bj.id) as info_jxjh ") +
           QStringLiteral("on info_js.id=info_jxjh.js_id) as info_jxjh ") +
           QStringLiteral("on info_kc.id=info_jxjh.kc_id where info_jxjh.xn_id='") + q(xnId) +
           QStringLiteral("') as info_jxjh ") + QStringLiteral("on kcb.jxjh_id=info_jxjh.id where ") + filter +
           QStringLiteral(" and 课节>0 order by 星期,课节");
}

QString gridFillEquivalent(const QString& xnId, const QString& filter)
{
    return QStringLiteral(
               "select kcb.id as kcb_id,bj_id,js_id,kc_id,星期,课节,课程简称,姓名,班级 from kcb left join (select info_jxjh.*,info_kc.课程简称 from (select info_jxjh.*,info_js.姓名 from ") +
           QStringLiteral(
               "(select info_jxjh.*,info_bj.班级 from info_jxjh left join info_bj on info_jxjh.bj_id=info_bj.id) as info_jxjh ") +
           QStringLiteral("left join info_js on info_js.id=info_jxjh.js_id) as info_jxjh ") +
           QStringLiteral("left join info_kc on info_kc.id=info_jxjh.kc_id where info_jxjh.xn_id='") + q(xnId) +
           QStringLiteral("') as info_jxjh ") + QStringLiteral("on kcb.jxjh_id=info_jxjh.id where ") + filter +
           QStringLiteral(" and 课节>0 order by 星期,课节");
}

} // namespace sql

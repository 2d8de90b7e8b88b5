#include "store/plan_statements.h"

#include "store/sql_dialect.h"
#include "store/value_text.h"

namespace sql {

namespace {

QString q(const QString& value) { return sqlEscaped(value); }

// The plan view in its two dialects, piece by piece; every blank counts.
// The last two columns are the pieces SQLite and PostgreSQL run instead (planViewEquivalent),
// where they differ: the remaining hours come from a count per plan item
// rather than from a join with kcb grouped as a whole, which SQLite
// materialises and indexes afresh on every read. nullptr: the same piece.
struct PlanViewPiece {
    const char* sqlServer;
    const char* accessJet;
    const char* equivalentSqlServer = nullptr;
    const char* equivalentAccessJet = nullptr;
};

const PlanViewPiece kPlanView[] = {
    {" (select * from (select temm.id,temm.bj_id,temm.js_id,temm.kc_id,temm.每周课时,temm.剩余课时,sz_js.不排课节 as js,",
     nullptr},
    {"sz_bj.不排课节 as bj,sz_kc.不排课节 as kc,sz_kc.优先级,", nullptr},
    {"sz_jxjh.不排课节 as jxjh,case when sz_js.是否连排 is null then 0 else sz_js.是否连排 end as lp,",
     "sz_jxjh.不排课节 as jxjh,iif(sz_js.是否连排 is null , 0 , sz_js.是否连排 ) as lp,"},
    {"case when 同时排班数=0 or 同时排班数 is null then 1000 else 同时排班数 end as bs,",
     "iif(同时排班数=0 or 同时排班数 is null , 1000 , 同时排班数 ) as bs,"},
    {"case when 连上节数=0 or 连上节数 is null then 1000 else 连上节数 end as lj,文理类型,姓名,课程名,班级,级别,教研组,年级 ",
     "iif(连上节数=0 or 连上节数 is null , 1000 , 连上节数 ) as lj,文理类型,姓名,课程名,班级,级别,教研组,年级 "},
    {"from (select info_jxjh.*,文理类型,info_js.教研组,年级,姓名,课程名,班级,级别,每周课时-case when con is null then 0 else con end as 剩余课时 from info_jxjh  left join ",
     "from ((((select info_jxjh.*,文理类型,info_js.教研组,年级,姓名,课程名,班级,级别,每周课时-iif(con is null , 0 , con ) as 剩余课时 from (((info_jxjh  left join ",
     "from (select info_jxjh.*,文理类型,info_js.教研组,年级,姓名,课程名,班级,级别,每周课时-(select count(*) from kcb where kcb.jxjh_id=info_jxjh.id) as 剩余课时 from info_jxjh  left join ",
     "from ((((select info_jxjh.*,文理类型,info_js.教研组,年级,姓名,课程名,班级,级别,每周课时-(select count(*) from kcb where kcb.jxjh_id=info_jxjh.id) as 剩余课时 from ((info_jxjh  left join "},
    {"info_bj on info_bj.id=info_jxjh.bj_id left join info_kc on info_kc.id=info_jxjh.kc_id left join info_js on ",
     "info_bj on info_bj.id=info_jxjh.bj_id) left join info_kc on info_kc.id=info_jxjh.kc_id) left join info_js on "},
    {"info_js.id=info_jxjh.js_id left join ", "info_js.id=info_jxjh.js_id) left join ", "info_js.id=info_jxjh.js_id ",
     "info_js.id=info_jxjh.js_id "},
    {"(select jxjh_id,count(*) as con from kcb group by jxjh_id) as tem ", nullptr, "", ""},
    {"on info_jxjh.id=jxjh_id where 每周课时-case when con is null then 0 else con end>0) as temm left join ",
     "on info_jxjh.id=tem.jxjh_id where 每周课时-iif(con is null , 0 , con )>0) as temm left join ",
     "where 每周课时-(select count(*) from kcb where kcb.jxjh_id=info_jxjh.id)>0) as temm left join ",
     "where 每周课时-(select count(*) from kcb where kcb.jxjh_id=info_jxjh.id)>0) as temm left join "},
    {" sz_js  on temm.xn_id=sz_js.xn_id and sz_js.js_id=temm.js_id  left join ",
     " sz_js  on temm.xn_id=sz_js.xn_id and sz_js.js_id=temm.js_id)  left join "},
    {"sz_kc  on temm.xn_id=sz_kc.xn_id and sz_kc.kc_id=temm.kc_id  left join ",
     "sz_kc  on temm.xn_id=sz_kc.xn_id and sz_kc.kc_id=temm.kc_id)  left join "},
    {" sz_bj   on temm.xn_id=sz_bj.xn_id and sz_bj.bj_id=temm.bj_id  left join ",
     " sz_bj   on temm.xn_id=sz_bj.xn_id and sz_bj.bj_id=temm.bj_id)  left join "},
    {"sz_jxjh  on sz_jxjh.jxjh_id=temm.id where temm.xn_id='", nullptr},
};

const char* planViewPiece(const PlanViewPiece& piece, int dataType)
{
    return (isSqlServer(dataType) || !piece.accessJet) ? piece.sqlServer : piece.accessJet;
}

const char* planViewEquivalentPiece(const PlanViewPiece& piece, int dataType)
{
    const char* equivalent = isSqlServer(dataType) ? piece.equivalentSqlServer : piece.equivalentAccessJet;
    return equivalent ? equivalent : planViewPiece(piece, dataType);
}

QString planViewOf(const char* (*choose)(const PlanViewPiece&, int), int dataType, const QString& xnId)
{
    QString text;
    for (const auto& piece : kPlanView)
        text += QString::fromUtf8(choose(piece, dataType));
    return text + q(xnId) + QStringLiteral("') as tt) as pp ");
}

} // namespace

QString planView(int dataType, const QString& xnId) { return planViewOf(planViewPiece, dataType, xnId); }

QString planViewEquivalent(int dataType, const QString& xnId)
{
    return planViewOf(planViewEquivalentPiece, dataType, xnId);
}

QString selectorFill(const QString& columns, const QString& table, const QString& condition, const QString& orderColumn)
{
    QString text = QStringLiteral("select distinct ") + columns + QStringLiteral(" from ") + table +
                   QStringLiteral(" where ") + condition;
    if (!orderColumn.isEmpty())
        text += QStringLiteral(" order by ") + orderColumn;
    return text;
}

QString levelCondition(const QString& level)
{
    if (level.isEmpty())
        return QStringLiteral(" 1=1 ");
    return QStringLiteral(" 级别='") + q(level) + QStringLiteral("' ");
}

QString gradeCondition(const QString& grade)
{
    if (grade.isEmpty())
        return QStringLiteral(" and 1=1 ");
    return QStringLiteral(" and 年级='") + q(grade) + QStringLiteral("' ");
}

QString classPlanCondition(const QString& classId)
{
    return QStringLiteral(" bj_id='") + q(classId) + QStringLiteral("' ");
}

QString teacherPlanCondition(const QString& teacherId)
{
    return QStringLiteral(" js_id='") + q(teacherId) + QStringLiteral("' ");
}

QString planListFill(const QString& planViewSql, const QString& condition)
{
    return QStringLiteral("select * from ") + planViewSql + QStringLiteral(" where ") + condition;
}

} // namespace sql

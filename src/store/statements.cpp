#include "store/statements.h"

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

const char* const kPositionConstants[] = {
    " 星期=1 and 课节=", " 星期=2 and 课节=", " 星期=3 and 课节=", " 星期=4 and 课节=",
    " 星期=5 and 课节=", " 星期=6 and 课节=", " 星期=7 and 课节=",
};

} // namespace

QString findTimetable(const QString& schoolYear, const QString& term, const QString& scheduleName)
{
    return QStringLiteral("select * from sz_xn where 学年='") + q(schoolYear) + QStringLiteral("' and 学期='") +
           q(term) + QStringLiteral("' and 排课名称='") + q(scheduleName) + QStringLiteral("'");
}

namespace {

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

QString insertLesson(const QString& id, const QString& planId, int weekday, int period)
{
    return QStringLiteral("insert into kcb (id,jxjh_id,星期,课节) values ('") + q(id) + QStringLiteral("','") +
           q(planId) + QStringLiteral("','") + QString::number(weekday) + QStringLiteral("','") +
           QString::number(period) + QStringLiteral("')");
}

QString classLessonAtSlot(const QString& xnId, const QString& classId, int weekday, int period)
{
    return QStringLiteral("select kcb.id from kcb left join info_jxjh on kcb.jxjh_id=info_jxjh.id where xn_id='") +
           q(xnId) + QStringLiteral("' and bj_id='") + q(classId) + QStringLiteral("' and  星期=") +
           QString::number(weekday) + QStringLiteral(" and 课节=") + QString::number(period);
}

QString moveLesson(int weekday, int period, const QString& lessonId)
{
    return QStringLiteral("update kcb set 星期=") + QString::number(weekday) + QStringLiteral(",课节=") +
           QString::number(period) + QStringLiteral(" where id='") + q(lessonId) + QStringLiteral("'");
}

QString deleteLesson(const QString& lessonId)
{
    return QStringLiteral("delete from kcb where id='") + q(lessonId) + QStringLiteral("'");
}

QString lessonsInSlots(const QString& xnId, const std::vector<std::pair<int, int>>& places, const QStringList& classIds,
                       const QStringList& teacherIds, bool unionOfOwners)
{
    // The unary plus keeps the slot out of the engine's choice of index, so
    // that it starts from the owners' few plan items rather than from every
    // lesson of the school in the slot.
    QString inSlots;
    for (size_t i = 0; i < places.size(); ++i)
        inSlots += QStringLiteral("%1(+kcb.星期=%2 and +kcb.课节=%3)")
                       .arg(i ? QStringLiteral(" or ") : QString())
                       .arg(places[i].first)
                       .arg(places[i].second);
    const auto ownedBy = [](const char* column, const QStringList& ids) {
        QStringList quoted;
        for (const QString& id : ids)
            quoted << QStringLiteral("'") + q(id) + QStringLiteral("'");
        return QLatin1String(column) + QStringLiteral(" in (") + quoted.join(u',') + QStringLiteral(")");
    };
    const QString head = QStringLiteral("select kcb.id,kcb.jxjh_id,kcb.星期,kcb.课节,bj_id,js_id from kcb join "
                                        "info_jxjh on kcb.jxjh_id=info_jxjh.id where xn_id='") +
                         q(xnId) + QStringLiteral("' and ");
    QStringList owners;
    if (!classIds.isEmpty())
        owners << ownedBy("bj_id", classIds);
    if (!teacherIds.isEmpty())
        owners << ownedBy("js_id", teacherIds);
    if (owners.isEmpty() || places.empty())
        return head + QStringLiteral("1=0");
    if (!unionOfOwners)
        return head + QStringLiteral("(") + owners.join(QStringLiteral(" or ")) + QStringLiteral(") and (") + inSlots +
               QStringLiteral(")");
    QStringList branches;
    for (const QString& owner : owners)
        branches << head + owner + QStringLiteral(" and (") + inSlots + QStringLiteral(")");
    return branches.join(QStringLiteral(" union "));
}

QString planItemPlacement(const QString& planId, const QString& xnId)
{
    return QStringLiteral("select 每周课时,(select count(*) from kcb where jxjh_id='") + q(planId) +
           QStringLiteral("') as placed from info_jxjh where id='") + q(planId) + QStringLiteral("' and xn_id='") +
           q(xnId) + QStringLiteral("'");
}

QString planItemNames(const QStringList& planIds)
{
    QStringList quoted;
    for (const QString& id : planIds)
        quoted << QStringLiteral("'") + q(id) + QStringLiteral("'");
    return QStringLiteral("select info_jxjh.id,课程名,班级,姓名 from info_jxjh left join info_kc on "
                          "info_kc.id=info_jxjh.kc_id left join info_bj on info_bj.id=info_jxjh.bj_id left join "
                          "info_js on info_js.id=info_jxjh.js_id where info_jxjh.id in (") +
           (quoted.isEmpty() ? QStringLiteral("null") : quoted.join(u',')) + QStringLiteral(")");
}

QString timetableEditLock(const QString& timetableId)
{
    constexpr int kSpace = 0x6B62747A; // "kbtz"
    return QStringLiteral("select pg_advisory_xact_lock(%1,hashtext(current_schema()||':'||'").arg(kSpace) +
           q(timetableId) + QStringLiteral("'))");
}

QString lessonSlots(const QString& lessonId)
{
    return QStringLiteral("select 星期,课节 from kcb where id='") + q(lessonId) + QStringLiteral("'");
}

QString lessonsWithId(const QString& lessonId)
{
    return QStringLiteral("select count(*) from kcb where id='") + q(lessonId) + QStringLiteral("'");
}

QString takeWriteLock() { return QStringLiteral("delete from kcb where 0=1"); }

QString timetableSchema()
{
    return QStringLiteral("select nspname from pg_class join pg_namespace on pg_namespace.oid=pg_class.relnamespace "
                          "where pg_class.oid=to_regclass('kcb')");
}

QString markOwnNotice() { return QStringLiteral("select set_config('kbtz.notice','control',true)"); }

QString notifyChange(const QString& channel, const QString& payload)
{
    return QStringLiteral("select pg_notify('") + q(channel) + QStringLiteral("','") + q(payload) +
           QStringLiteral("'),set_config('kbtz.notice','',true)");
}

QString dataVersion() { return QStringLiteral("pragma data_version"); }

QString timetableRowsVersionPostgres()
{
    return QStringLiteral("select count(*) || '/' || coalesce(max(xmin::text::bigint), 0) from kcb");
}

QString tablePresentSqlite(const QString& table)
{
    return QStringLiteral("select name from sqlite_master where type='table' and name='") + q(table) +
           QStringLiteral("'");
}

QString tablePresentPostgres(const QString& table)
{
    return QStringLiteral("select 1 where to_regclass('") + q(table) + QStringLiteral("') is not null");
}

QString columnPresentSqlite(const QString& table, const QString& column)
{
    return QStringLiteral("select name from pragma_table_info('") + q(table) + QStringLiteral("') where name='") +
           q(column) + QStringLiteral("'");
}

QString columnPresentPostgres(const QString& table, const QString& column)
{
    // to_regclass follows the search path as the control's own statements do.
    return QStringLiteral("select 1 from pg_attribute where attrelid=to_regclass('") + q(table) +
           QStringLiteral("') and attname='") + q(column) + QStringLiteral("' and not attisdropped");
}

namespace {

QString textOrNull(const QString& value)
{
    return value.isEmpty() ? QStringLiteral("null") : QStringLiteral("'") + q(value) + QStringLiteral("'");
}

QString numberOrNull(int value) { return value ? QString::number(value) : QStringLiteral("null"); }

} // namespace

QString appendChangeLog(const ChangeLogRow& row)
{
    const QStringList values{textOrNull(row.xnId),       textOrNull(row.desk),         textOrNull(row.step),
                             textOrNull(row.kind),       textOrNull(row.lessonId),     textOrNull(row.planId),
                             textOrNull(row.otherId),    numberOrNull(row.beforeDay),  numberOrNull(row.beforePeriod),
                             numberOrNull(row.afterDay), numberOrNull(row.afterPeriod)};
    return QStringLiteral("insert into kcb_log (xn_id,desk,step,kind,kcb_id,jxjh_id,other_kcb_id,before_day,"
                          "before_period,after_day,after_period) values (") +
           values.join(u',') + QStringLiteral(")");
}

QString recentChanges(const QString& xnId, int count, const QString& classId, const QString& teacherId)
{
    QString only;
    if (!classId.isEmpty())
        only += QStringLiteral(" and info_jxjh.bj_id='") + q(classId) + QStringLiteral("'");
    if (!teacherId.isEmpty())
        only += QStringLiteral(" and info_jxjh.js_id='") + q(teacherId) + QStringLiteral("'");
    return QStringLiteral("select kcb_log.seq,kcb_log.changed_at,kcb_log.db_user,kcb_log.desk,kcb_log.step,"
                          "kcb_log.kind,kcb_log.kcb_id,kcb_log.jxjh_id,kcb_log.other_kcb_id,kcb_log.before_day,"
                          "kcb_log.before_period,kcb_log.after_day,kcb_log.after_period,课程名,班级,姓名,"
                          "info_jxjh.bj_id from kcb_log left join info_jxjh on info_jxjh.id=kcb_log.jxjh_id left "
                          "join info_kc on info_kc.id=info_jxjh.kc_id left join info_bj on "
                          "info_bj.id=info_jxjh.bj_id left join info_js on info_js.id=info_jxjh.js_id where "
                          "kcb_log.xn_id='") +
           q(xnId) + QStringLiteral("'") + only + QStringLiteral(" order by kcb_log.seq desc limit %1").arg(count);
}

QString lessonPlace(const QString& xnId, const QString& lessonId)
{
    return QStringLiteral("select bj_id,js_id,kcb.星期,kcb.课节 from kcb join info_jxjh on kcb.jxjh_id=info_jxjh.id "
                          "where kcb.id='") +
           q(lessonId) + QStringLiteral("' and xn_id='") + q(xnId) + QStringLiteral("'");
}

QString positionCondition(int weekday, int period)
{
    const int d = (weekday >= 1 && weekday <= 7) ? weekday : 1;
    return QString::fromUtf8(kPositionConstants[d - 1]) + QString::number(period);
}

QString clashSet(const QString& xnId, const QString& classId, const QString& teacherId, const QString& condition)
{
    return QStringLiteral("select * from kcb left join info_jxjh on kcb.jxjh_id=info_jxjh.id where ") +
           QStringLiteral("(xn_id='") + q(xnId) + QStringLiteral("' and bj_id='") + q(classId) +
           QStringLiteral(
               "' and js_id in (select js_id from kcb left join info_jxjh on kcb.jxjh_id=info_jxjh.id where ") +
           condition + QStringLiteral(" and xn_id='") + q(xnId) + QStringLiteral("')) or (js_id='") + q(teacherId) +
           QStringLiteral("' and xn_id='") + q(xnId) + QStringLiteral("')");
}

QString clashSetEquivalent(const QString& xnId, const QString& classId, const QString& teacherId,
                           const QString& condition)
{
    // A row that both alternatives select comes once, from the first branch:
    // "is not true" also lets through the rows whose teacher test is null.
    const QString teacherLessons =
        QStringLiteral("(js_id='") + q(teacherId) + QStringLiteral("' and xn_id='") + q(xnId) + QStringLiteral("')");
    // Teachers busy at a cell's position are few and found through the slot.
    // A plan item has no position (" 1=1 "): nearly every teacher is busy
    // somewhere, so each lesson's own teacher is looked up instead, through
    // that teacher's plan items. Either is only a filter: a null of "in"
    // drops the row as a false of "exists" does. The condition names 星期
    // and 课节 without a table, so inside "exists" they stay kcb's.
    const QString busyTeacher =
        condition == QLatin1String(" 1=1 ")
            ? QStringLiteral(
                  "' and exists (select 1 from kcb as busy join info_jxjh as busy_plan on busy.jxjh_id=busy_plan.id where ") +
                  condition + QStringLiteral(" and busy_plan.xn_id='") + q(xnId) +
                  QStringLiteral("' and busy_plan.js_id=info_jxjh.js_id)) and ")
            : QStringLiteral(
                  "' and js_id in (select js_id from kcb left join info_jxjh on kcb.jxjh_id=info_jxjh.id where ") +
                  condition + QStringLiteral(" and xn_id='") + q(xnId) + QStringLiteral("')) and ");
    return QStringLiteral("select * from kcb join info_jxjh on kcb.jxjh_id=info_jxjh.id where ") + teacherLessons +
           QStringLiteral(" union all select * from kcb join info_jxjh on kcb.jxjh_id=info_jxjh.id where ") +
           QStringLiteral("(xn_id='") + q(xnId) + QStringLiteral("' and bj_id='") + q(classId) + busyTeacher +
           teacherLessons + QStringLiteral(" is not true");
}

QString teacherSettings(const QString& teacherId, const QString& xnId)
{
    return QStringLiteral("select * from sz_js where js_id='") + q(teacherId) + QStringLiteral("' and xn_id='") +
           q(xnId) + QStringLiteral("'");
}

QString classSettings(const QString& classId, const QString& xnId)
{
    return QStringLiteral("select * from sz_bj where bj_id='") + q(classId) + QStringLiteral("' and xn_id='") +
           q(xnId) + QStringLiteral("'");
}

QString courseSettings(const QString& courseId, const QString& xnId)
{
    return QStringLiteral("select * from sz_kc where kc_id='") + q(courseId) + QStringLiteral("' and xn_id='") +
           q(xnId) + QStringLiteral("'");
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

#include "store/analysis_statements.h"

#include "store/value_text.h"

namespace sql {

namespace {

QString q(const QString& value) { return sqlEscaped(value); }

const char* const kPositionConstants[] = {
    " 星期=1 and 课节=", " 星期=2 and 课节=", " 星期=3 and 课节=", " 星期=4 and 课节=",
    " 星期=5 and 课节=", " 星期=6 and 课节=", " 星期=7 and 课节=",
};

} // namespace

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

} // namespace sql

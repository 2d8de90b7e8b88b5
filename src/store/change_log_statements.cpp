#include "store/change_log_statements.h"

#include "store/value_text.h"

namespace sql {

namespace {

QString q(const QString& value) { return sqlEscaped(value); }

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

} // namespace sql

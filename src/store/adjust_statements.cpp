#include "store/adjust_statements.h"

#include "store/value_text.h"

namespace sql {

namespace {

QString q(const QString& value) { return sqlEscaped(value); }

} // namespace

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

QString lessonSlots(const QString& lessonId)
{
    return QStringLiteral("select 星期,课节 from kcb where id='") + q(lessonId) + QStringLiteral("'");
}

QString lessonsWithId(const QString& lessonId)
{
    return QStringLiteral("select count(*) from kcb where id='") + q(lessonId) + QStringLiteral("'");
}

QString markOwnNotice() { return QStringLiteral("select set_config('kbtz.notice','control',true)"); }

QString notifyChange(const QString& channel, const QString& payload)
{
    return QStringLiteral("select pg_notify('") + q(channel) + QStringLiteral("','") + q(payload) +
           QStringLiteral("'),set_config('kbtz.notice','',true)");
}

QString lessonPlace(const QString& xnId, const QString& lessonId)
{
    return QStringLiteral("select bj_id,js_id,kcb.星期,kcb.课节 from kcb join info_jxjh on kcb.jxjh_id=info_jxjh.id "
                          "where kcb.id='") +
           q(lessonId) + QStringLiteral("' and xn_id='") + q(xnId) + QStringLiteral("'");
}

} // namespace sql

// The help text of a plan item: its course settings, then its class's and
// its teacher's forbidden periods.
#include "plan/plan_list.h"
#include "store/recordset.h"
#include "store/value_text.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString text(const Recordset& row, const char* column) { return joinText(row.field(QString::fromUtf8(column))); }

// The plan view gives 0 for an unset 是否连排 and, for bs and lj, 1000 for an
// unset value; only 0 and nothing at all are left out.
bool isSet(const QString& value) { return !value.isEmpty() && value != QStringLiteral("0"); }

} // namespace

QString ForbiddenPeriodText(const QString& value)
{
    if (value.isEmpty())
        return QString();
    // "2:3\t4/" becomes "不排课节:节" CR LF " 星期2:3节 4节 ": each entry on a
    // line of its own, every period followed by 节.
    QString out = QStringLiteral("不排课节:/") + value.left(value.size() - 1);
    out.replace(u'/', QStringLiteral("节") + kCrLf + QStringLiteral(" 星期"));
    out += u'\t';
    out.replace(u'\t', QStringLiteral("节 "));
    return out;
}

QString PlanItemHelpText(const Recordset& row)
{
    QString help = QStringLiteral("课程名:") + text(row, "课程名") + QStringLiteral(":");
    const QString priority = text(row, "优先级");
    if (!priority.isEmpty())
        help += QStringLiteral(" 排课优先级:") + priority;
    help += kCrLf;
    help += ForbiddenPeriodText(text(row, "kc"));
    help += kCrLf;
    const QString sameTime = text(row, "bs");
    if (isSet(sameTime))
        help += QStringLiteral("同时排班数:") + sameTime;
    help += kCrLf;
    const QString perDay = text(row, "lj");
    if (isSet(perDay))
        help += QStringLiteral("每天最上课节数:") + perDay;
    help += kCrLf + QStringLiteral("班级:") + text(row, "班级") + QStringLiteral(":") + kCrLf;
    help += ForbiddenPeriodText(text(row, "bj"));
    help += kCrLf + QStringLiteral("教师:") + text(row, "姓名") + QStringLiteral(":") + kCrLf;
    help += ForbiddenPeriodText(text(row, "js"));
    help += kCrLf;
    if (isSet(text(row, "lp")))
        help += QStringLiteral("是否连排:是");
    return help;
}

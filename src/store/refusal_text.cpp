#include "store/refusal_text.h"

QString refusalMessage(const QString& reason)
{
    return QStringLiteral("另一位用户刚刚修改了课表，这次调整没有保存：%1。\n"
                          "课表已按数据库重新显示，请看清当前的安排，重新分析后再调整。")
        .arg(reason);
}

QString duplicateIdMessage(const QString& lessonId)
{
    return QStringLiteral("课表中有两节课使用同一个编号“%1”，这次调整没有保存。\n"
                          "请先用冲突检查找出这两节课，改正其中一节的编号后再调整。")
        .arg(lessonId);
}

QString unseenLessonsMessage(const QStringList& inTheWay)
{
    const QString named =
        inTheWay.isEmpty() ? QStringLiteral("屏幕上的课与数据库中的不符") : inTheWay.join(QStringLiteral("、"));
    return QStringLiteral("课表中有屏幕上没有显示的课，这次调整没有保存：%1。\n"
                          "没有其他用户修改课表；请用冲突检查查看这些课，改正后再调整。")
        .arg(named);
}

#include "drive/history_json.h"

#include <QJsonObject>

namespace {

QJsonValue slotJson(const std::optional<Slot>& slot)
{
    if (!slot)
        return QJsonValue::Null;
    return QJsonArray{slot->weekday, slot->period};
}

} // namespace

QJsonArray historyJson(const std::vector<ChangeEntry>& entries)
{
    QJsonArray out;
    for (const ChangeEntry& e : entries)
        out.append(QJsonObject{{"seq", e.seq},
                               {"at", e.at.toString(Qt::ISODateWithMs)},
                               {"user", e.dbUser},
                               {"desk", e.desk},
                               {"step", e.step},
                               {"kind", e.kind},
                               {"lesson", e.lessonId},
                               {"plan", e.planId},
                               {"other", e.otherId},
                               {"before", slotJson(e.before)},
                               {"after", slotJson(e.after)},
                               {"course", e.course},
                               {"class", e.className},
                               {"teacher", e.teacher}});
    return out;
}

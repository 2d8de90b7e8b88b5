#include "store/timetable_change.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Below PostgreSQL's limit of 8000 bytes, with room for the enclosing text.
constexpr qsizetype kPayloadLimit = 7900;

void addNew(QStringList& to, const QStringList& ids)
{
    for (const QString& id : ids)
        if (!id.isEmpty() && !to.contains(id))
            to << id;
}

QStringList idsOf(const QJsonValue& value)
{
    QStringList out;
    for (const QJsonValue& id : value.toArray())
        if (id.isString())
            out << id.toString();
    return out;
}

QJsonArray arrayOf(const QStringList& ids)
{
    QJsonArray out;
    for (const QString& id : ids)
        out.append(id);
    return out;
}

} // namespace

void TimetableChange::merge(const TimetableChange& more)
{
    everything = everything || more.everything;
    hoursChanged = hoursChanged || more.hoursChanged;
    addNew(classIds, more.classIds);
    addNew(teacherIds, more.teacherIds);
}

bool TimetableChange::touches(Side side, const QString& ownerId) const
{
    return everything || (side == Side::Class ? classIds : teacherIds).contains(ownerId);
}

QString noticeChannel(const QString& schema, const QString& timetableId)
{
    const QByteArray key = (schema + u'/' + timetableId).toUtf8();
    return QStringLiteral("kbtz_") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Md5).toHex());
}

QString noticePayload(const QString& timetableId, const TimetableChange& change)
{
    QJsonObject all{{"xn", timetableId}, {"all", true}};
    if (change.everything)
        return QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Compact));
    const QByteArray named = QJsonDocument(QJsonObject{{"xn", timetableId},
                                                       {"bj", arrayOf(change.classIds)},
                                                       {"js", arrayOf(change.teacherIds)},
                                                       {"hours", change.hoursChanged}})
                                 .toJson(QJsonDocument::Compact);
    if (named.size() < kPayloadLimit)
        return QString::fromUtf8(named);
    return QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Compact));
}

std::optional<TimetableChange> parseNotice(const QString& payload, const QString& timetableId)
{
    const QJsonDocument doc = QJsonDocument::fromJson(payload.toUtf8());
    TimetableChange change;
    if (!doc.isObject()) {
        change.everything = true;
        return change;
    }
    const QJsonObject o = doc.object();
    if (o.value("xn").toString() != timetableId)
        return std::nullopt;
    change.everything = o.value("all").toBool();
    change.hoursChanged = change.everything || o.value("hours").toBool(true);
    change.classIds = idsOf(o.value("bj"));
    change.teacherIds = idsOf(o.value("js"));
    return change;
}

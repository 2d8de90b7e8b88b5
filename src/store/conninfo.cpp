#include "store/conninfo.h"

QString parseConnInfo(const QString& text, ConnInfo* info)
{
    ConnInfo out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto skipBlanks = [&] {
        while (i < n && text[i].isSpace())
            ++i;
    };
    for (;;) {
        skipBlanks();
        if (i >= n)
            break;
        QString key;
        while (i < n && !text[i].isSpace() && text[i] != u'=')
            key += text[i++];
        skipBlanks();
        if (i >= n || text[i] != u'=')
            return QStringLiteral("missing \"=\" after \"%1\"").arg(key);
        ++i;
        skipBlanks();
        QString value;
        if (i < n && text[i] == u'\'') {
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = text[i++];
                if (c == u'\\' && i < n) {
                    value += text[i++];
                } else if (c == u'\'') {
                    closed = true;
                    break;
                } else {
                    value += c;
                }
            }
            if (!closed)
                return QStringLiteral("unterminated quoted value of \"%1\"").arg(key);
        } else {
            while (i < n && !text[i].isSpace()) {
                const QChar c = text[i++];
                value += (c == u'\\' && i < n) ? text[i++] : c;
            }
        }
        if (key.isEmpty())
            return QStringLiteral("a value without a keyword");
        if (key == QLatin1String("host") || key == QLatin1String("hostaddr")) {
            out.host = value;
        } else if (key == QLatin1String("port")) {
            bool ok = false;
            out.port = value.toInt(&ok);
            if (!ok || out.port <= 0 || out.port > 65535)
                return QStringLiteral("bad port \"%1\"").arg(value);
        } else if (key == QLatin1String("dbname")) {
            out.dbname = value;
        } else if (key == QLatin1String("user")) {
            out.user = value;
        } else if (key == QLatin1String("password")) {
            out.password = value;
        } else {
            out.options << key + u'=' + value;
        }
    }
    if (info)
        *info = out;
    return QString();
}

void applyConnInfo(const ConnInfo& info, QSqlDatabase& db)
{
    if (!info.host.isEmpty())
        db.setHostName(info.host);
    if (info.port > 0)
        db.setPort(info.port);
    if (!info.dbname.isEmpty())
        db.setDatabaseName(info.dbname);
    if (!info.user.isEmpty())
        db.setUserName(info.user);
    if (!info.password.isEmpty())
        db.setPassword(info.password);
    if (!info.options.isEmpty())
        db.setConnectOptions(info.options.join(u';'));
}

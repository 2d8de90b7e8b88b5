#include "store/db_error_text.h"

#include <QSqlError>

namespace {

// SQLite's primary result codes (the low byte of an extended code).
QString sqliteWords(int code)
{
    switch (code & 0xff) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QString::fromUtf8(kTimetableBusy);
    case 8: return QStringLiteral("数据库文件只读，修改无法保存"); // SQLITE_READONLY
    case 10: return QStringLiteral("读写数据库文件时出错");        // SQLITE_IOERR
    case 11:                                                       // SQLITE_CORRUPT
    case 26: return QStringLiteral("数据库文件已损坏");            // SQLITE_NOTADB
    case 13: return QStringLiteral("磁盘已满，修改无法保存");      // SQLITE_FULL
    case 14: return QStringLiteral("无法打开数据库文件");          // SQLITE_CANTOPEN
    case 19: return QStringLiteral("数据不符合数据库的约束");      // SQLITE_CONSTRAINT
    default: return QStringLiteral("数据库无法执行这条语句");
    }
}

// PostgreSQL's SQLSTATE codes, by code and by class.
QString postgresWords(const QString& state)
{
    if (state == QLatin1String("55P03"))
        return QString::fromUtf8(kTimetableBusy);
    if (state == QLatin1String("40P01"))
        return QStringLiteral("与其他程序的修改相互等待，请稍后再试");
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")))
        return QStringLiteral("与数据库服务器的连接已断开");
    if (state == QLatin1String("53100"))
        return QStringLiteral("数据库服务器的磁盘已满，修改无法保存");
    if (state == QLatin1String("25P02"))
        return QStringLiteral("数据库事务已出错，请重新操作");
    if (state == QLatin1String("42P01"))
        return QStringLiteral("数据库中缺少这条语句用到的表");
    if (state == QLatin1String("42703"))
        return QStringLiteral("数据库中缺少这条语句用到的列");
    if (state.startsWith(QLatin1String("23")))
        return QStringLiteral("数据不符合数据库的约束");
    if (state == QLatin1String("P0001"))
        return QStringLiteral("数据库拒绝了这次修改");
    return QStringLiteral("数据库无法执行这条语句");
}

// The engine's own text on one line, without libpq's severity word.
QString engineText(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    for (const QLatin1String prefix : {QLatin1String("ERROR:"), QLatin1String("FATAL:")})
        if (text.startsWith(prefix))
            text = text.mid(prefix.size());
    return text.simplified();
}

bool connectionLost(const QString& text)
{
    for (const char* words : {"server closed the connection", "terminating connection", "no connection to the server",
                              "could not connect", "connection to server"})
        if (text.contains(QLatin1String(words), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

QString dbErrorText(const QSqlError& error)
{
    const QString text = engineText(error);
    if (text.isEmpty())
        return QStringLiteral("数据库连接不可用");
    const QString code = error.nativeErrorCode();
    // PostgreSQL's codes have five characters, SQLite's result codes
    // fewer digits (its extended codes stay below 10000).
    QString words;
    bool isNumber = false;
    const int number = code.toInt(&isNumber);
    if (connectionLost(text))
        words = QStringLiteral("与数据库服务器的连接已断开");
    else if (code.size() == 5)
        words = postgresWords(code);
    else if (isNumber)
        words = sqliteWords(number);
    else
        words = QStringLiteral("数据库无法执行这条语句");
    return words + QStringLiteral("（") + text + QStringLiteral("）");
}

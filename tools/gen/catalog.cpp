#include "gen/catalog.h"

namespace gen {

QString numbered(const char* prefix, int n, int width)
{
    return QString::fromLatin1(prefix) + QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

QString className(const Grade& grade, int number)
{
    return QString::fromUtf8(grade.name) + QStringLiteral("(%1)班").arg(number);
}

} // namespace gen

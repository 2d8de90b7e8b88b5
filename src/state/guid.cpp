#include "state/guid.h"

#include <QRandomGenerator>

int systemGuid(GuidRecord& guid)
{
    auto* random = QRandomGenerator::system();
    guid.Data1 = random->generate();
    const std::uint32_t mid = random->generate();
    guid.Data2 = static_cast<std::uint16_t>(mid >> 16);
    guid.Data3 = static_cast<std::uint16_t>((mid & 0x0FFF) | 0x4000); // version 4
    const std::uint64_t tail = random->generate64();
    for (int i = 0; i < 8; ++i)
        guid.Data4[i] = static_cast<std::uint8_t>(tail >> (8 * i));
    guid.Data4[0] = static_cast<std::uint8_t>((guid.Data4[0] & 0x3F) | 0x80); // RFC 4122 variant
    return 0;
}

namespace {
// The value in upper-case hexadecimal, zeros in front, the rightmost digits kept.
QString hexDigits(std::uint64_t value, int digits)
{
    const QString text = QString(digits, u'0') + QString::number(value, 16).toUpper();
    return text.right(digits);
}
} // namespace

QString formatGuid(const GuidRecord& guid)
{
    QString bytes;
    for (std::uint8_t b : guid.Data4)
        bytes += hexDigits(b, 2);
    return hexDigits(guid.Data1, 8) + u'-' + hexDigits(guid.Data2, 4) + u'-' + hexDigits(guid.Data3, 4) + u'-' +
           bytes.left(4) + u'-' + bytes.mid(4);
}

#pragma once

#include <QString>
#include <cstdint>
#include <functional>

// The platform's GUID layout: one 32-bit, two 16-bit and eight 8-bit fields.
struct GuidRecord {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::uint8_t Data4[8] = {};
};

// Fills a GUID record; returns 0 on success, anything else on failure.
using GuidSource = std::function<int(GuidRecord&)>;

// A random version-4 UUID from the system's random source.
int systemGuid(GuidRecord& guid);

// The bare form: 36 characters, upper-case hexadecimal, five groups.
QString formatGuid(const GuidRecord& guid);

inline const QString kNullGuid = QStringLiteral("00000000-0000-0000-0000-000000000000");

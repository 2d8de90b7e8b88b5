// Tags come from the database (ids joined by tabs) and are split again by
// every operation on a cell or plan item: any text must split, and a field
// beyond the last must be refused with the control's error, never read.
#include "control/tag.h"
#include "store/control_error.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList fields = tag::split(text);
    if (fields.isEmpty() || fields.size() != text.count(u'\t') + 1)
        std::abort();

    for (int n = -1; n <= fields.size(); ++n) {
        try {
            const QString got = tag::field(text, n);
            if (n < 0 || n >= fields.size())
                std::abort(); // a field that does not exist was read
            if (got != fields[n])
                std::abort();
        } catch (const ControlError& e) {
            if (n >= 0 && n < fields.size())
                std::abort(); // an existing field was refused
            if (e.description().isEmpty())
                std::abort();
        }
    }
    if (tag::lastField(text) != fields.constLast())
        std::abort();

    // Four fields without tabs of their own survive a join and a split.
    if (fields.size() >= 4) {
        const QString joined = tag::join(fields[0], fields[1], fields[2], fields[3]);
        const QStringList again = tag::split(joined);
        if (again.size() != 4)
            std::abort();
        for (int n = 0; n < 4; ++n)
            if (tag::field(joined, n) != fields[n])
                std::abort();
    }
    return 0;
}

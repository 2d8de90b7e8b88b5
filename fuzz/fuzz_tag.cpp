// Tags come from the database (ids joined by tabs) and are read again by
// every operation on a cell or plan item: any text must be read or refused
// with the control's error, never read past its end.
#include "state/tag.h"

#include "store/control_error.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList fields = text.split(u'\t');
    if (CellTag::idOf(text) != fields.constFirst())
        std::abort();
    try {
        const CellTag tag = CellTag::of(text);
        if (fields.size() < 4)
            std::abort(); // a field that does not exist was read
        if (tag.id != fields[0] || tag.classId != fields[1] || tag.teacherId != fields[2] || tag.courseId != fields[3])
            std::abort();
        // Four ids without tabs of their own survive a join and a read.
        if (fields.size() == 4 && CellTag::of(tag.text()).text() != text)
            std::abort();
    } catch (const ControlError& e) {
        if (fields.size() >= 4)
            std::abort(); // a whole tag was refused
        if (e.description().isEmpty())
            std::abort();
    }
    return 0;
}

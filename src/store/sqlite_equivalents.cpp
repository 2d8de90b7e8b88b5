#include "store/sqlite_equivalents.h"

#include "store/analysis_statements.h"
#include "store/grid_statements.h"
#include "store/plan_statements.h"

#include <QStringList>
#include <array>
#include <vector>

namespace {

// The variable parts of a statement. Asked to build a statement with these
// control characters as its values, a statement function gives its fixed
// text with the characters marking where the values go: the shape that a
// text must have to be that statement. Quoting leaves them as they are.
enum Slot : char16_t { XnSlot = 1, ClassSlot, TeacherSlot, FreeSlot, SlotCount };

QString slot(Slot s) { return QString(QChar(s)); }

struct Shape {
    QStringList fixed; // the text before each gap, and after the last
    std::vector<char16_t> gaps;
};

Shape shapeOf(const QString& built)
{
    Shape shape;
    QString piece;
    for (const QChar c : built) {
        if (c.unicode() >= XnSlot && c.unicode() < SlotCount) {
            shape.fixed << piece;
            piece.clear();
            shape.gaps.push_back(c.unicode());
        } else {
            piece += c;
        }
    }
    shape.fixed << piece;
    return shape;
}

using Values = std::array<QString, SlotCount>;

// Reads a value written into a quoted literal, from `pos` up to the first
// single quote that is not doubled; returns the position of that quote, or
// -1 when the literal does not close.
qsizetype readLiteral(const QString& text, qsizetype pos, QString& value)
{
    value.clear();
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (c == u'\'') {
            if (pos + 1 < text.size() && text[pos + 1] == u'\'') {
                value += c;
                pos += 2;
                continue;
            }
            return pos;
        }
        value += c;
        ++pos;
    }
    return -1;
}

// Reads the values of `text` for the gaps of `shape`: a quoted value up to
// its closing quote, a free part up to the next fixed text (the last one up
// to the text that ends the statement). False when the fixed texts are not
// all there, in order, with nothing after the last.
bool read(const Shape& shape, const QString& text, Values& values)
{
    if (!text.startsWith(shape.fixed.front()))
        return false;
    qsizetype pos = shape.fixed.front().size();
    std::array<bool, SlotCount> seen{};
    for (size_t i = 0; i < shape.gaps.size(); ++i) {
        const char16_t s = shape.gaps[i];
        const QString& next = shape.fixed[static_cast<qsizetype>(i) + 1];
        QString value;
        if (s == FreeSlot) {
            qsizetype end = -1;
            if (i + 1 == shape.gaps.size()) {
                if (text.endsWith(next))
                    end = text.size() - next.size();
            } else {
                end = text.indexOf(next, pos);
            }
            if (end < pos)
                return false;
            value = text.mid(pos, end - pos);
            pos = end;
        } else {
            pos = readLiteral(text, pos, value);
            if (pos < 0)
                return false;
        }
        if (seen[s] && values[s] != value)
            return false;
        seen[s] = true;
        values[s] = value;
        if (!QStringView(text).mid(pos).startsWith(next))
            return false;
        pos += next.size();
    }
    return pos == text.size();
}

using OneValue = QString (*)(const QString&);

// Whether `text` is what `build` gives for some value; the shapes of
// one-value forms carry their value in the class slot.
bool builtBy(const QString& text, const Shape& shape, OneValue build)
{
    Values v;
    return read(shape, text, v) && build(v[ClassSlot]) == text;
}

bool isGridFilter(const QString& filter)
{
    static const Shape byClass = shapeOf(sql::classFilter(slot(ClassSlot)));
    static const Shape byTeacher = shapeOf(sql::teacherFilter(slot(ClassSlot)));
    return builtBy(filter, byClass, sql::classFilter) || builtBy(filter, byTeacher, sql::teacherFilter);
}

bool isPlanListCondition(const QString& condition)
{
    static const Shape byClass = shapeOf(sql::classPlanCondition(slot(ClassSlot)));
    static const Shape byTeacher = shapeOf(sql::teacherPlanCondition(slot(ClassSlot)));
    return builtBy(condition, byClass, sql::classPlanCondition) ||
           builtBy(condition, byTeacher, sql::teacherPlanCondition);
}

// A clicked cell's position, or the " 1=1 " of a plan item.
bool isPositionCondition(const QString& condition)
{
    if (condition == QLatin1String(" 1=1 "))
        return true;
    for (int weekday = 1; weekday <= 7; ++weekday) {
        const QString head = sql::positionCondition(weekday, 0).chopped(1);
        if (!condition.startsWith(head))
            continue;
        bool ok = false;
        const int period = condition.mid(head.size()).toInt(&ok);
        return ok && sql::positionCondition(weekday, period) == condition;
    }
    return false;
}

QString gridFillEquivalent(const QString& text)
{
    static const Shape shape = shapeOf(sql::gridFill(slot(XnSlot), slot(FreeSlot)));
    Values v;
    if (!read(shape, text, v) || !isGridFilter(v[FreeSlot]) || sql::gridFill(v[XnSlot], v[FreeSlot]) != text)
        return {};
    return sql::gridFillEquivalent(v[XnSlot], v[FreeSlot]);
}

QString planListEquivalent(const QString& text)
{
    // Any data type other than 0 builds the Access/Jet text.
    static const std::array<int, 2> dataTypes{0, 1};
    static const std::array<Shape, 2> shapes{
        shapeOf(sql::planListFill(sql::planView(dataTypes[0], slot(XnSlot)), slot(FreeSlot))),
        shapeOf(sql::planListFill(sql::planView(dataTypes[1], slot(XnSlot)), slot(FreeSlot))),
    };
    for (size_t i = 0; i < shapes.size(); ++i) {
        Values v;
        if (!read(shapes[i], text, v) || !isPlanListCondition(v[FreeSlot]))
            continue;
        if (sql::planListFill(sql::planView(dataTypes[i], v[XnSlot]), v[FreeSlot]) != text)
            continue;
        return sql::planListFill(sql::planViewEquivalent(dataTypes[i], v[XnSlot]), v[FreeSlot]);
    }
    return {};
}

QString clashSetEquivalent(const QString& text)
{
    static const Shape shape = shapeOf(sql::clashSet(slot(XnSlot), slot(ClassSlot), slot(TeacherSlot), slot(FreeSlot)));
    Values v;
    if (!read(shape, text, v) || !isPositionCondition(v[FreeSlot]) ||
        sql::clashSet(v[XnSlot], v[ClassSlot], v[TeacherSlot], v[FreeSlot]) != text)
        return {};
    return sql::clashSetEquivalent(v[XnSlot], v[ClassSlot], v[TeacherSlot], v[FreeSlot]);
}

} // namespace

QString sqliteEquivalent(const QString& text)
{
    for (auto equivalent : {gridFillEquivalent, planListEquivalent, clashSetEquivalent}) {
        QString rewritten = equivalent(text);
        if (!rewritten.isEmpty())
            return rewritten;
    }
    return {};
}

#include "gen/placement.h"

#include "store/forbidden_periods.h"

#include <QHash>
#include <algorithm>

namespace gen {

namespace {

struct Item {
    int cls = 0;
    int teacher = 0;
    int course = 0;
    int dayCap = 0; // most lessons a day, 0 = any
};

struct Placed {
    int item = 0;
    int slot = 0;
};

// The slots a 不排课节 value forbids within the week, read as the control reads it.
std::vector<char> maskOf(const QVariant& text, const Week& week)
{
    std::vector<char> mask(static_cast<size_t>(week.days * week.periods), 0);
    if (text.isNull())
        return mask;
    for (const ForbiddenEntry& entry : parseForbiddenPeriods(text.toString())) {
        if (entry.weekday > week.days)
            continue;
        for (int period = 1; period <= week.periods; ++period)
            if (entry.names(period))
                mask[static_cast<size_t>((entry.weekday - 1) * week.periods + period - 1)] = 1;
    }
    return mask;
}

int limitOf(const QVariant& value) { return value.isNull() ? 0 : std::max(0, value.toInt()); }

class Placer {
public:
    Placer(School& school, const QString& xnId, const Week& week, Random& random)
        : school_(school), week_(week), slots_(week.days * week.periods), random_(random)
    {
        QHash<QString, int> classIndex, teacherIndex, courseIndex, planIndex;
        for (const auto& c : school.classes)
            classIndex.insert(c.id, static_cast<int>(classIndex.size()));
        for (const auto& t : school.teachers)
            teacherIndex.insert(t.id, static_cast<int>(teacherIndex.size()));
        for (const auto& k : school.courses)
            courseIndex.insert(k.id, static_cast<int>(courseIndex.size()));
        for (const auto& p : school.plans)
            planIndex.insert(p.id, static_cast<int>(planIndex.size()));

        const auto noMask = std::vector<char>(static_cast<size_t>(slots_), 0);
        std::vector<std::vector<char>> classMask(school.classes.size(), noMask);
        std::vector<std::vector<char>> teacherMask(school.teachers.size(), noMask);
        std::vector<std::vector<char>> courseMask(school.courses.size(), noMask);
        std::vector<std::vector<char>> planMask(school.plans.size(), noMask);
        std::vector<int> courseDayCap(school.courses.size(), 0);
        courseSlotCap_.assign(school.courses.size(), 0);
        for (const auto& s : school.classSettings)
            if (s.xnId == xnId && classIndex.contains(s.classId))
                classMask[static_cast<size_t>(classIndex.value(s.classId))] = maskOf(s.forbidden, week);
        for (const auto& s : school.teacherSettings)
            if (s.xnId == xnId && teacherIndex.contains(s.teacherId))
                teacherMask[static_cast<size_t>(teacherIndex.value(s.teacherId))] = maskOf(s.forbidden, week);
        for (const auto& s : school.courseSettings) {
            if (s.xnId != xnId || !courseIndex.contains(s.courseId))
                continue;
            const auto k = static_cast<size_t>(courseIndex.value(s.courseId));
            courseMask[k] = maskOf(s.forbidden, week);
            courseDayCap[k] = limitOf(s.consecutivePeriods);
            courseSlotCap_[k] = limitOf(s.simultaneous);
        }
        for (const auto& s : school.planSettings)
            if (planIndex.contains(s.planId))
                planMask[static_cast<size_t>(planIndex.value(s.planId))] = maskOf(s.forbidden, week);

        items_.resize(school.plans.size());
        forbidden_.assign(school.plans.size() * static_cast<size_t>(slots_), 0);
        for (size_t i = 0; i < school.plans.size(); ++i) {
            const PlanRow& p = school.plans[i];
            if (p.xnId != xnId)
                continue;
            Item& item = items_[i];
            item.cls = classIndex.value(p.classId, -1);
            item.teacher = teacherIndex.value(p.teacherId, -1);
            item.course = courseIndex.value(p.courseId, -1);
            item.dayCap = item.course >= 0 ? courseDayCap[static_cast<size_t>(item.course)] : 0;
            for (int s = 0; s < slots_; ++s) {
                const auto us = static_cast<size_t>(s);
                char f = planMask[i][us];
                if (item.cls >= 0)
                    f |= classMask[static_cast<size_t>(item.cls)][us];
                if (item.teacher >= 0)
                    f |= teacherMask[static_cast<size_t>(item.teacher)][us];
                if (item.course >= 0)
                    f |= courseMask[static_cast<size_t>(item.course)][us];
                forbidden_[i * static_cast<size_t>(slots_) + us] = f;
            }
        }
        classAt_.assign(school.classes.size() * static_cast<size_t>(slots_), -1);
        teacherAt_.assign(school.teachers.size() * static_cast<size_t>(slots_), -1);
        itemDay_.assign(school.plans.size() * static_cast<size_t>(week.days), 0);
        courseSlot_.assign(school.courses.size() * static_cast<size_t>(slots_), 0);
    }

    int place(const std::vector<int>& wanted)
    {
        std::vector<int> order;
        int most = 0;
        for (size_t i = 0; i < wanted.size() && i < items_.size(); ++i) {
            if (wanted[i] > 0 && items_[i].cls >= 0 && items_[i].teacher >= 0) {
                order.push_back(static_cast<int>(i));
                most = std::max(most, wanted[i]);
            }
        }
        random_.shuffle(order);
        // Round by round (the first hour of every item, then the second ...)
        // spreads each class's courses over the week.
        std::vector<int> failed;
        for (int round = 0; round < most; ++round)
            for (int i : order)
                if (wanted[static_cast<size_t>(i)] > round && !placeGreedy(i))
                    failed.push_back(i);
        for (int i : failed)
            repair(i);
        writeLessons();
        return static_cast<int>(placed_.size());
    }

private:
    size_t at(int owner, int slot) const
    {
        return static_cast<size_t>(owner) * static_cast<size_t>(slots_) + static_cast<size_t>(slot);
    }
    int dayOf(int slot) const { return slot / week_.periods; }
    int& dayCount(int item, int day)
    {
        return itemDay_[static_cast<size_t>(item) * static_cast<size_t>(week_.days) + static_cast<size_t>(day)];
    }

    // Whether item may take the slot, ignoring who holds it now.
    bool allowed(int item, int slot)
    {
        const Item& it = items_[static_cast<size_t>(item)];
        if (forbidden_[at(item, slot)])
            return false;
        if (it.dayCap > 0 && dayCount(item, dayOf(slot)) >= it.dayCap)
            return false;
        const int cap = courseSlotCap_[static_cast<size_t>(it.course)];
        return cap <= 0 || courseSlot_[at(it.course, slot)] < cap;
    }

    bool classFree(int item, int slot) const { return classAt_[at(items_[static_cast<size_t>(item)].cls, slot)] < 0; }
    bool teacherFree(int item, int slot) const
    {
        return teacherAt_[at(items_[static_cast<size_t>(item)].teacher, slot)] < 0;
    }

    void put(int item, int slot, int lesson)
    {
        const Item& it = items_[static_cast<size_t>(item)];
        classAt_[at(it.cls, slot)] = lesson;
        teacherAt_[at(it.teacher, slot)] = lesson;
        ++dayCount(item, dayOf(slot));
        ++courseSlot_[at(it.course, slot)];
    }

    void take(int item, int slot)
    {
        const Item& it = items_[static_cast<size_t>(item)];
        classAt_[at(it.cls, slot)] = -1;
        teacherAt_[at(it.teacher, slot)] = -1;
        --dayCount(item, dayOf(slot));
        --courseSlot_[at(it.course, slot)];
    }

    void add(int item, int slot)
    {
        put(item, slot, static_cast<int>(placed_.size()));
        placed_.push_back({item, slot});
    }

    void move(int lesson, int slot)
    {
        Placed& p = placed_[static_cast<size_t>(lesson)];
        take(p.item, p.slot);
        p.slot = slot;
        put(p.item, slot, lesson);
    }

    bool placeGreedy(int item)
    {
        int best = -1;
        int bestScore = 0;
        for (int s = 0; s < slots_; ++s) {
            if (!classFree(item, s) || !teacherFree(item, s) || !allowed(item, s))
                continue;
            // A second lesson of the same course on one day only when needed.
            const int score = 64 * dayCount(item, dayOf(s)) + random_.below(16);
            if (best < 0 || score < bestScore) {
                best = s;
                bestScore = score;
            }
        }
        if (best < 0)
            return false;
        add(item, best);
        return true;
    }

    // A free slot for lesson's item other than `except`, or -1.
    int freeSlotFor(int lesson, int except)
    {
        const int item = placed_[static_cast<size_t>(lesson)].item;
        const int from = placed_[static_cast<size_t>(lesson)].slot;
        const int start = random_.below(slots_);
        for (int n = 0; n < slots_; ++n) {
            const int s = (start + n) % slots_;
            if (s == except || s == from || !classFree(item, s) || !teacherFree(item, s))
                continue;
            // The day count still holds the lesson itself at its old slot.
            take(item, from);
            const bool ok = allowed(item, s);
            put(item, from, lesson);
            if (ok)
                return s;
        }
        return -1;
    }

    // One hour that found no free slot: free a slot by moving the one lesson
    // in the way (of the class or of the teacher) elsewhere.
    bool repair(int item)
    {
        const Item& it = items_[static_cast<size_t>(item)];
        for (int s = 0; s < slots_; ++s) {
            if (!allowed(item, s))
                continue;
            const int byClass = classAt_[at(it.cls, s)];
            const int byTeacher = teacherAt_[at(it.teacher, s)];
            if ((byClass < 0) == (byTeacher < 0))
                continue; // free (then greedy would have taken it) or held twice
            const int blocker = byClass >= 0 ? byClass : byTeacher;
            const int target = freeSlotFor(blocker, s);
            if (target < 0)
                continue;
            move(blocker, target);
            if (allowed(item, s)) {
                add(item, s);
                return true;
            }
            move(blocker, s); // the move changed the day count of a shared course
        }
        return false;
    }

    void writeLessons()
    {
        // Lessons in plan order, then by weekday and period: stable output.
        std::vector<Placed> sorted = placed_;
        std::sort(sorted.begin(), sorted.end(), [](const Placed& a, const Placed& b) {
            return a.item != b.item ? a.item < b.item : a.slot < b.slot;
        });
        for (const Placed& p : sorted) {
            LessonRow row;
            row.id = lessonId(random_);
            row.planId = school_.plans[static_cast<size_t>(p.item)].id;
            row.weekday = p.slot / week_.periods + 1;
            row.period = p.slot % week_.periods + 1;
            school_.lessons.push_back(row);
        }
    }

    School& school_;
    Week week_;
    int slots_;
    Random& random_;
    std::vector<Item> items_;
    std::vector<char> forbidden_;
    std::vector<int> classAt_;
    std::vector<int> teacherAt_;
    std::vector<int> itemDay_;
    std::vector<int> courseSlot_;
    std::vector<int> courseSlotCap_;
    std::vector<Placed> placed_;
};

} // namespace

int placeLessons(School& school, const QString& xnId, const Week& week, const std::vector<int>& wanted, Random& random)
{
    Placer placer(school, xnId, week, random);
    return placer.place(wanted);
}

QString lessonId(Random& random)
{
    const std::uint64_t a = random.next();
    const std::uint64_t b = random.next();
    const QString hex = QStringLiteral("%1%2").arg(a, 16, 16, QLatin1Char('0')).arg(b, 16, 16, QLatin1Char('0'));
    return QStringLiteral("{") + hex.mid(0, 8) + u'-' + hex.mid(8, 4) + u'-' + hex.mid(12, 4) + u'-' + hex.mid(16, 4) +
           u'-' + hex.mid(20, 12) + QStringLiteral("}");
}

} // namespace gen

#pragma once

// Chains of moves that get one lesson into a slot its class or teacher has
// taken: the lesson goes there, every lesson it displaces moves on to a slot
// of its own, and so on, at most kMaxChainLessons lessons in all. The search
// reads the timetable once (ChainSchool::read), keeps every class's and
// teacher's busy slots as bit sets and searches in memory; it writes nothing.

#include "qxmavowin/side.h"
#include "store/slot.h"

#include <QString>
#include <array>
#include <bitset>
#include <optional>
#include <vector>

class Connection;

inline constexpr int kMaxChainLessons = 4;
inline constexpr int kMaxChains = 10;
// Bit sets hold 7 days of up to this many periods.
inline constexpr int kMaxChainPeriods = 18;
using SlotSet = std::bitset<7 * kMaxChainPeriods>;

// The timetable as the search sees it: lessons by plan item, and for each
// class, teacher and course the slots its forbidden periods (不排课节) name.
class ChainSchool {
public:
    struct Plan {
        QString id;
        int classIx = -1, teacherIx = -1, courseIx = -1; // -1: the item names none
        int hoursLeft = 0;
    };
    struct Lesson {
        QString id;
        int plan = 0;
        Slot slot;
    };

    // The timetable's plan items, lessons and forbidden periods, with the
    // grids' rows and the periods of each weekday 1..7 (store/day_periods.h).
    static ChainSchool read(Connection& conn, const QString& xnId, int gridPeriods,
                            const std::array<int, 7>& dayPeriods);

    // Building one by hand (reading, tests).
    explicit ChainSchool(int gridPeriods);
    int addPlan(const QString& id, const QString& classId, const QString& teacherId, const QString& courseId,
                int weeklyHours);
    void addLesson(const QString& id, int plan, Slot slot);
    void setDayPeriods(int weekday, int periods);
    enum class Owner { Class, Teacher, Course };
    void forbid(Owner owner, const QString& ownerId, Slot slot);

    int gridPeriods() const { return periods_; }
    int dayPeriods(int weekday) const { return dayPeriods_[static_cast<size_t>(weekday - 1)]; }
    const std::vector<Plan>& plans() const { return plans_; }
    const std::vector<Lesson>& lessons() const { return lessons_; }
    const Plan& planOf(const Lesson& l) const { return plans_[static_cast<size_t>(l.plan)]; }
    const QString& classId(int ix) const { return classIds_[static_cast<size_t>(ix)]; }
    const QString& teacherId(int ix) const { return teacherIds_[static_cast<size_t>(ix)]; }
    int lessonIndex(const QString& id) const;
    int planIndex(const QString& id) const;

    // Whether a slot lies inside the week: weekday 1..7, period inside its day.
    bool inDay(Slot s) const
    {
        return s.weekday >= 1 && s.weekday <= 7 && s.period >= 1 && s.period <= dayPeriods(s.weekday);
    }
    // Whether the plan item's teacher, class or course forbids the slot.
    bool forbidden(const Plan& p, Slot s) const;

    int bit(Slot s) const { return (s.weekday - 1) * kMaxChainPeriods + (s.period - 1); }
    Slot slotOf(int bit) const { return {bit / kMaxChainPeriods + 1, bit % kMaxChainPeriods + 1}; }

    // Busy slots and lessons of each class and teacher.
    const SlotSet& classBusy(int ix) const { return classBusy_[static_cast<size_t>(ix)]; }
    const SlotSet& teacherBusy(int ix) const { return teacherBusy_[static_cast<size_t>(ix)]; }
    const std::vector<int>& classLessons(int ix) const { return classLessons_[static_cast<size_t>(ix)]; }
    const std::vector<int>& teacherLessons(int ix) const { return teacherLessons_[static_cast<size_t>(ix)]; }
    // The slots a plan item's lessons may go to: inside their day, and not forbidden.
    SlotSet allowed(const Plan& p) const;

private:
    int ownerIndex(std::vector<QString>& ids, std::vector<SlotSet>* forbiddenSets, const QString& id);

    int periods_;
    std::vector<int> dayPeriods_;
    std::vector<Plan> plans_;
    std::vector<Lesson> lessons_;
    std::vector<QString> classIds_, teacherIds_, courseIds_;
    std::vector<SlotSet> classBusy_, teacherBusy_;
    std::vector<SlotSet> classForbidden_, teacherForbidden_, courseForbidden_;
    std::vector<std::vector<int>> classLessons_, teacherLessons_;
    SlotSet week_;
};

// One move of a chain: a lesson (none for a plan item's new lesson) from its
// slot (none for a new lesson) to another.
struct ChainMove {
    QString lessonId; // empty: the plan item's new lesson
    QString planId;
    std::optional<Slot> from;
    Slot to;
    QString classId, teacherId; // the plan item's

    bool operator==(const ChainMove&) const = default;
};

// A chain, the requested lesson's move first, then the others in the order
// each was displaced.
struct Chain {
    std::vector<ChainMove> moves;
    int otherOwners = 0; // classes (class grid) or teachers (teacher grid) other than the requested lesson's
    int otherDays = 0;   // lessons moved to another weekday
};

// What the user asks for: a placed lesson, or a new lesson of a plan item,
// into a slot of the grid of `side`.
struct ChainRequest {
    QString lessonId; // empty for a plan item's new lesson
    QString planId;   // for a new lesson
    Slot to;
    Side side = Side::Class;
};

// The chains that put the requested lesson into its slot, best first, at most
// `limit`. After a chain every lesson it moved or placed stands where neither
// its class nor its teacher has another lesson, inside its day, in no
// forbidden period of its teacher, class or course, except that the requested
// lesson may end in a forbidden period. Each lesson moves at most once, and
// only in time. The search is complete: when such a chain exists, one comes.
// Order: fewest lessons, then fewest other classes (teachers on the teacher
// grid) touched, then fewest lessons moved to another day, then the order
// of the search (slots from Monday's first period on).
std::vector<Chain> findChains(const ChainSchool& school, const ChainRequest& request, int limit = kMaxChains);

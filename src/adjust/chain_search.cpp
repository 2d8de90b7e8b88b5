#include "adjust/chain_search.h"

#include "store/connection.h"
#include "store/forbidden_periods.h"
#include "store/timetable_statements.h"
#include "store/value_text.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

std::optional<int> wholeNumber(const QVariant& value)
{
    bool ok = false;
    const double d = joinText(value).trimmed().toDouble(&ok);
    if (!ok || d != std::trunc(d) || std::abs(d) > 1e6)
        return std::nullopt;
    return static_cast<int>(d);
}

} // namespace

// ------------------------------------------------------------ ChainSchool

ChainSchool::ChainSchool(int gridPeriods)
    : periods_(std::clamp(gridPeriods, 0, kMaxChainPeriods)), dayPeriods_(7, periods_)
{
    for (int d = 1; d <= 7; ++d)
        setDayPeriods(d, periods_);
}

void ChainSchool::setDayPeriods(int weekday, int periods)
{
    if (weekday < 1 || weekday > 7)
        return;
    const int n = std::clamp(periods, 0, periods_);
    dayPeriods_[static_cast<size_t>(weekday - 1)] = n;
    for (int p = 1; p <= kMaxChainPeriods; ++p)
        week_.set(static_cast<size_t>(bit({weekday, p})), p <= n);
}

int ChainSchool::ownerIndex(std::vector<QString>& ids, std::vector<SlotSet>* forbiddenSets, const QString& id)
{
    if (id.isEmpty())
        return -1;
    const auto it = std::find(ids.begin(), ids.end(), id);
    if (it != ids.end())
        return static_cast<int>(it - ids.begin());
    ids.push_back(id);
    if (forbiddenSets)
        forbiddenSets->emplace_back();
    return static_cast<int>(ids.size()) - 1;
}

int ChainSchool::addPlan(const QString& id, const QString& classId, const QString& teacherId, const QString& courseId,
                         int weeklyHours)
{
    Plan p;
    p.id = id;
    p.classIx = ownerIndex(classIds_, &classForbidden_, classId);
    p.teacherIx = ownerIndex(teacherIds_, &teacherForbidden_, teacherId);
    p.courseIx = ownerIndex(courseIds_, &courseForbidden_, courseId);
    p.hoursLeft = weeklyHours;
    classBusy_.resize(classIds_.size());
    classLessons_.resize(classIds_.size());
    teacherBusy_.resize(teacherIds_.size());
    teacherLessons_.resize(teacherIds_.size());
    plans_.push_back(p);
    return static_cast<int>(plans_.size()) - 1;
}

void ChainSchool::addLesson(const QString& id, int plan, Slot slot)
{
    Plan& p = plans_[static_cast<size_t>(plan)];
    --p.hoursLeft;
    const int ix = static_cast<int>(lessons_.size());
    lessons_.push_back({id, plan, slot});
    // A lesson outside the grids takes no slot anybody could be moved to.
    const bool inGrid = slot.weekday >= 1 && slot.weekday <= 7 && slot.period >= 1 && slot.period <= periods_;
    if (p.classIx >= 0) {
        classLessons_[static_cast<size_t>(p.classIx)].push_back(ix);
        if (inGrid)
            classBusy_[static_cast<size_t>(p.classIx)].set(static_cast<size_t>(bit(slot)));
    }
    if (p.teacherIx >= 0) {
        teacherLessons_[static_cast<size_t>(p.teacherIx)].push_back(ix);
        if (inGrid)
            teacherBusy_[static_cast<size_t>(p.teacherIx)].set(static_cast<size_t>(bit(slot)));
    }
}

void ChainSchool::forbid(Owner owner, const QString& ownerId, Slot slot)
{
    if (slot.weekday < 1 || slot.weekday > 7 || slot.period < 1 || slot.period > periods_)
        return;
    std::vector<QString>& ids = owner == Owner::Class ? classIds_ : owner == Owner::Teacher ? teacherIds_ : courseIds_;
    std::vector<SlotSet>& sets = owner == Owner::Class     ? classForbidden_
                                 : owner == Owner::Teacher ? teacherForbidden_
                                                           : courseForbidden_;
    const auto it = std::find(ids.begin(), ids.end(), ownerId);
    if (it == ids.end())
        return; // no plan item of the owner: nothing of it can move
    sets[static_cast<size_t>(it - ids.begin())].set(static_cast<size_t>(bit(slot)));
}

int ChainSchool::lessonIndex(const QString& id) const
{
    for (size_t i = 0; i < lessons_.size(); ++i)
        if (lessons_[i].id == id)
            return static_cast<int>(i);
    return -1;
}

int ChainSchool::planIndex(const QString& id) const
{
    for (size_t i = 0; i < plans_.size(); ++i)
        if (plans_[i].id == id)
            return static_cast<int>(i);
    return -1;
}

SlotSet ChainSchool::allowed(const Plan& p) const
{
    SlotSet out = week_;
    if (p.classIx >= 0)
        out &= ~classForbidden_[static_cast<size_t>(p.classIx)];
    if (p.teacherIx >= 0)
        out &= ~teacherForbidden_[static_cast<size_t>(p.teacherIx)];
    if (p.courseIx >= 0)
        out &= ~courseForbidden_[static_cast<size_t>(p.courseIx)];
    return out;
}

bool ChainSchool::forbidden(const Plan& p, Slot s) const
{
    return inDay(s) && !allowed(p).test(static_cast<size_t>(bit(s)));
}

ChainSchool ChainSchool::read(Connection& conn, const QString& xnId, int gridPeriods,
                              const std::array<int, 7>& dayPeriods)
{
    ChainSchool school(gridPeriods);
    QHash<QString, int> planIx;
    for (Recordset rs = conn.check(sql::timetablePlanItems(xnId)); !rs.atEnd(); rs.MoveNext()) {
        const QString id = joinText(rs.field(0));
        planIx.insert(id, school.addPlan(id, joinText(rs.field(1)), joinText(rs.field(2)), joinText(rs.field(3)),
                                         wholeNumber(rs.field(4)).value_or(0)));
    }
    for (Recordset rs = conn.check(sql::timetableLessons(xnId)); !rs.atEnd(); rs.MoveNext()) {
        const auto plan = planIx.constFind(joinText(rs.field(1)));
        if (plan == planIx.cend())
            continue;
        school.addLesson(joinText(rs.field(0)), *plan,
                         Slot{wholeNumber(rs.field(2)).value_or(0), wholeNumber(rs.field(3)).value_or(0)});
    }
    for (int d = 1; d <= 7; ++d)
        school.setDayPeriods(d, dayPeriods[static_cast<size_t>(d - 1)]);
    // The first settings row of an owner counts, as in the analysis.
    auto readForbidden = [&](const QString& statement, Owner owner) {
        QSet<QString> seen;
        for (Recordset rs = conn.check(statement); !rs.atEnd(); rs.MoveNext()) {
            const QString ownerId = joinText(rs.field(0));
            if (seen.contains(ownerId))
                continue;
            seen.insert(ownerId);
            for (const ForbiddenEntry& e : parseForbiddenPeriods(joinText(rs.field(1))))
                for (int p = 1; p <= school.gridPeriods(); ++p)
                    if (e.names(p))
                        school.forbid(owner, ownerId, {e.weekday, p});
        }
    };
    readForbidden(sql::timetableTeacherSettings(xnId), Owner::Teacher);
    readForbidden(sql::timetableClassSettings(xnId), Owner::Class);
    readForbidden(sql::timetableCourseSettings(xnId), Owner::Course);
    return school;
}

// ----------------------------------------------------------------- search

namespace {

// A lesson on its way: index into the school's lessons (-1 for the new
// lesson), its plan item, where it was and where it goes (bits).
struct Step {
    int lesson = -1;
    int plan = 0;
    int from = -1;
    int to = -1;
};

class Search {
public:
    Search(const ChainSchool& school, int limitLessons, size_t cap) : s_(school), maxLessons_(limitLessons), cap_(cap)
    {}

    // Places the requested lesson and follows every lesson it displaces.
    void run(int lesson, int plan, int to)
    {
        int from = -1;
        if (lesson >= 0) {
            const Slot at = s_.lessons()[static_cast<size_t>(lesson)].slot;
            if (at.weekday >= 1 && at.weekday <= 7 && at.period >= 1 && at.period <= s_.gridPeriods())
                from = s_.bit(at);
        }
        const Step first{lesson, plan, from, to};
        std::vector<int> displaced;
        if (!place(first, displaced, maxLessons_ - 1))
            return;
        steps_.push_back(first);
        pending_ = displaced;
        descend();
    }

    std::vector<std::vector<Step>> found;

private:
    const ChainSchool::Plan& planOf(int lesson) const { return s_.planOf(s_.lessons()[static_cast<size_t>(lesson)]); }
    bool moved(int lesson) const
    {
        for (const Step& st : steps_)
            if (st.lesson == lesson)
                return true;
        return false;
    }
    bool isPending(int lesson) const { return std::find(pending_.begin(), pending_.end(), lesson) != pending_.end(); }

    // Whether `step` may stand at its slot beside the chain so far; the
    // lessons still standing there that it displaces (other than those
    // already displaced) go to `displaced`, at most `room` of them.
    bool place(const Step& step, std::vector<int>& displaced, int room) const
    {
        const ChainSchool::Plan& p = s_.plans()[static_cast<size_t>(step.plan)];
        for (const Step& other : steps_) {
            const ChainSchool::Plan& o = s_.plans()[static_cast<size_t>(other.plan)];
            if (other.to == step.to &&
                ((p.classIx >= 0 && o.classIx == p.classIx) || (p.teacherIx >= 0 && o.teacherIx == p.teacherIx)))
                return false;
        }
        const Slot at = s_.slotOf(step.to);
        auto collect = [&](const std::vector<int>& lessons) {
            for (int l : lessons) {
                if (l == step.lesson || s_.lessons()[static_cast<size_t>(l)].slot != at || moved(l) || isPending(l) ||
                    std::find(displaced.begin(), displaced.end(), l) != displaced.end())
                    continue;
                displaced.push_back(l);
                if (static_cast<int>(displaced.size()) > room)
                    return false;
            }
            return true;
        };
        if (p.classIx >= 0 && s_.classBusy(p.classIx).test(static_cast<size_t>(step.to)) &&
            !collect(s_.classLessons(p.classIx)))
            return false;
        if (p.teacherIx >= 0 && s_.teacherBusy(p.teacherIx).test(static_cast<size_t>(step.to)) &&
            !collect(s_.teacherLessons(p.teacherIx)))
            return false;
        return true;
    }

    // The slots of an owner's busy set that the chain has emptied.
    SlotSet vacated(const SlotSet& busy, bool byClass, int ix) const
    {
        SlotSet out;
        for (const Step& st : steps_) {
            if (st.from < 0 || !busy.test(static_cast<size_t>(st.from)))
                continue;
            const ChainSchool::Plan& p = s_.plans()[static_cast<size_t>(st.plan)];
            if ((byClass ? p.classIx : p.teacherIx) != ix)
                continue;
            // Empty only when no lesson of the owner still stands there.
            bool someoneLeft = false;
            const Slot at = s_.slotOf(st.from);
            for (int l : byClass ? s_.classLessons(ix) : s_.teacherLessons(ix))
                if (s_.lessons()[static_cast<size_t>(l)].slot == at && !moved(l))
                    someoneLeft = true;
            if (!someoneLeft)
                out.set(static_cast<size_t>(st.from));
        }
        return out;
    }

    void descend()
    {
        if (found.size() >= cap_)
            return;
        if (pending_.empty()) {
            if (static_cast<int>(steps_.size()) == maxLessons_)
                found.push_back(steps_);
            return;
        }
        const int room = maxLessons_ - static_cast<int>(steps_.size()) - static_cast<int>(pending_.size());
        if (room < 0)
            return;
        const int lesson = pending_.front();
        const ChainSchool::Plan& p = planOf(lesson);
        const int from = s_.bit(s_.lessons()[static_cast<size_t>(lesson)].slot);

        SlotSet candidates = s_.allowed(p);
        candidates.reset(static_cast<size_t>(from));
        if (room == 0) {
            // No lesson more may be displaced: only slots its class and
            // teacher have free, and those only displaced lessons hold.
            SlotSet free = candidates;
            if (p.classIx >= 0)
                free &= ~(s_.classBusy(p.classIx) & ~vacated(s_.classBusy(p.classIx), true, p.classIx));
            if (p.teacherIx >= 0)
                free &= ~(s_.teacherBusy(p.teacherIx) & ~vacated(s_.teacherBusy(p.teacherIx), false, p.teacherIx));
            SlotSet heldByDisplaced;
            for (int other : pending_)
                if (other != lesson)
                    heldByDisplaced.set(static_cast<size_t>(s_.bit(s_.lessons()[static_cast<size_t>(other)].slot)));
            candidates &= free | heldByDisplaced;
        }

        const std::vector<int> pendingBefore = pending_;
        for (size_t b = candidates._Find_first(); b < candidates.size(); b = candidates._Find_next(b)) {
            const Step step{lesson, s_.lessons()[static_cast<size_t>(lesson)].plan, from, static_cast<int>(b)};
            pending_.erase(pending_.begin());
            std::vector<int> displaced;
            const bool fits = place(step, displaced, room);
            if (fits) {
                steps_.push_back(step);
                pending_.insert(pending_.end(), displaced.begin(), displaced.end());
                descend();
                steps_.pop_back();
            }
            pending_ = pendingBefore;
            if (found.size() >= cap_)
                return;
        }
    }

    const ChainSchool& s_;
    int maxLessons_;
    size_t cap_;
    std::vector<Step> steps_;
    std::vector<int> pending_;
};

// How many chains of one size are ranked at most; enough that the best ten
// come out of any school the grids can show.
constexpr size_t kRankedPerSize = 4000;

} // namespace

std::vector<Chain> findChains(const ChainSchool& school, const ChainRequest& request, int limit)
{
    std::vector<Chain> out;
    if (!school.inDay(request.to) || limit <= 0)
        return out;
    int lesson = -1;
    int plan = -1;
    if (!request.lessonId.isEmpty()) {
        lesson = school.lessonIndex(request.lessonId);
        if (lesson < 0)
            return out;
        plan = school.lessons()[static_cast<size_t>(lesson)].plan;
        if (school.lessons()[static_cast<size_t>(lesson)].slot == request.to)
            return out;
    } else {
        plan = school.planIndex(request.planId);
        if (plan < 0 || school.plans()[static_cast<size_t>(plan)].hoursLeft <= 0)
            return out;
    }
    const ChainSchool::Plan& requested = school.plans()[static_cast<size_t>(plan)];
    const int requestedOwner = request.side == Side::Class ? requested.classIx : requested.teacherIx;

    for (int size = 1; size <= kMaxChainLessons && static_cast<int>(out.size()) < limit; ++size) {
        Search search(school, size, kRankedPerSize);
        search.run(lesson, plan, school.bit(request.to));
        std::vector<Chain> level;
        for (const auto& steps : search.found) {
            Chain chain;
            std::vector<int> owners;
            for (const Step& st : steps) {
                const ChainSchool::Plan& p = school.plans()[static_cast<size_t>(st.plan)];
                ChainMove move;
                if (st.lesson >= 0)
                    move.lessonId = school.lessons()[static_cast<size_t>(st.lesson)].id;
                move.planId = p.id;
                if (p.classIx >= 0)
                    move.classId = school.classId(p.classIx);
                if (p.teacherIx >= 0)
                    move.teacherId = school.teacherId(p.teacherIx);
                if (st.from >= 0)
                    move.from = school.slotOf(st.from);
                move.to = school.slotOf(st.to);
                if (move.from && move.from->weekday != move.to.weekday)
                    ++chain.otherDays;
                const int owner = request.side == Side::Class ? p.classIx : p.teacherIx;
                if (owner != requestedOwner && std::find(owners.begin(), owners.end(), owner) == owners.end())
                    owners.push_back(owner);
                chain.moves.push_back(std::move(move));
            }
            chain.otherOwners = static_cast<int>(owners.size());
            level.push_back(std::move(chain));
        }
        std::stable_sort(level.begin(), level.end(), [](const Chain& a, const Chain& b) {
            return std::pair(a.otherOwners, a.otherDays) < std::pair(b.otherOwners, b.otherDays);
        });
        for (Chain& c : level) {
            if (static_cast<int>(out.size()) >= limit)
                break;
            out.push_back(std::move(c));
        }
    }
    return out;
}

#include "adjust/chain_search.h"

#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <set>
#include <random>

namespace {

// A small random school: two or three classes, three teachers, three days
// of three periods but a shorter second day and none on the third, a few
// forbidden periods, and now and then a double booking the data already holds.
struct RandomSchool {
    ChainSchool school{3};
    std::vector<QString> classOf, teacherOf; // per plan
    std::map<std::pair<int, QString>, std::vector<Slot>> forbidden;

    explicit RandomSchool(std::mt19937& rng)
    {
        auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
        school.setDayPeriods(2, 2);
        for (int d = 3; d <= 7; ++d)
            school.setDayPeriods(d, 0);
        const int classes = 2 + pick(2);
        int lessonNo = 0;
        for (int c = 0; c < classes; ++c) {
            std::vector<Slot> free{{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}};
            std::shuffle(free.begin(), free.end(), rng);
            const int lessons = 3 + pick(2);
            for (int k = 0; k < 3; ++k) {
                const QString cls = QStringLiteral("B%1").arg(c);
                const QString teacher = QStringLiteral("T%1").arg(pick(3));
                const int plan = school.addPlan(QStringLiteral("P%1_%2").arg(c).arg(k), cls, teacher,
                                                QStringLiteral("K%1").arg(k), 2);
                classOf.push_back(cls);
                teacherOf.push_back(teacher);
                for (int n = k; n < lessons; n += 3) {
                    const Slot at = pick(8) == 0 ? Slot{1, 1} : free[static_cast<size_t>(n)];
                    school.addLesson(QStringLiteral("L%1").arg(lessonNo++), plan, at);
                }
            }
        }
        for (int n = pick(4); n > 0; --n) {
            const auto owner = static_cast<ChainSchool::Owner>(pick(3));
            const QString id = owner == ChainSchool::Owner::Class     ? QStringLiteral("B%1").arg(pick(classes))
                               : owner == ChainSchool::Owner::Teacher ? QStringLiteral("T%1").arg(pick(3))
                                                                      : QStringLiteral("K%1").arg(pick(3));
            school.forbid(owner, id, Slot{1 + pick(2), 1 + pick(3)});
        }
    }
};

// The rules, read plainly: every lesson moved or placed stands inside its
// day, in no forbidden period (but the requested one), and beside no other
// lesson of its class or teacher; each moves once, to another slot.
bool valid(const ChainSchool& s, const ChainRequest& r, const std::vector<ChainMove>& moves)
{
    if (moves.empty() || moves.size() > kMaxChainLessons || moves[0].to != r.to || moves[0].lessonId != r.lessonId)
        return false;
    std::map<QString, Slot> where;
    for (const auto& l : s.lessons())
        where[l.id] = l.slot;
    std::vector<std::pair<int, Slot>> standing; // plan, slot of every lesson afterwards
    std::set<QString> moved;
    for (const ChainMove& m : moves) {
        if (!moved.insert(m.lessonId).second)
            return false;
        if (!m.lessonId.isEmpty()) {
            if (!where.count(m.lessonId) || (m.from && *m.from != where[m.lessonId]) || where[m.lessonId] == m.to)
                return false;
            where[m.lessonId] = m.to;
        }
    }
    for (const auto& l : s.lessons())
        standing.push_back({l.plan, where[l.id]});
    if (r.lessonId.isEmpty())
        standing.push_back({s.planIndex(r.planId), r.to});
    for (size_t i = 0; i < moves.size(); ++i) {
        const ChainMove& m = moves[i];
        const auto& p = s.plans()[static_cast<size_t>(s.planIndex(m.planId))];
        if (!s.inDay(m.to) || (i > 0 && s.forbidden(p, m.to)))
            return false;
        int sameClass = 0, sameTeacher = 0;
        for (const auto& [other, at] : standing) {
            if (at != m.to)
                continue;
            const auto& o = s.plans()[static_cast<size_t>(other)];
            sameClass += o.classIx == p.classIx;
            sameTeacher += o.teacherIx == p.teacherIx;
        }
        if (sameClass != 1 || sameTeacher != 1)
            return false;
    }
    return true;
}

// The fewest lessons of any valid chain, trying every set of other lessons
// and every slot for each; 0 when there is none.
int exhaustiveMinimum(const ChainSchool& s, const ChainRequest& r, const ChainMove& first)
{
    // Slots outside every day can hold no moved lesson; the rules say so
    // again, but trying them would only cost time.
    std::vector<Slot> everySlot;
    for (int d = 1; d <= 7; ++d)
        for (int p = 1; p <= s.dayPeriods(d); ++p)
            everySlot.push_back({d, p});
    std::vector<int> others;
    for (size_t i = 0; i < s.lessons().size(); ++i)
        if (s.lessons()[i].id != r.lessonId)
            others.push_back(static_cast<int>(i));
    std::vector<ChainMove> moves{first};
    // Adds `left` more of the other lessons from `next` on, each to every slot.
    std::function<bool(size_t, int)> extend = [&](size_t next, int left) -> bool {
        if (left == 0)
            return valid(s, r, moves);
        for (size_t i = next; i < others.size(); ++i) {
            const auto& l = s.lessons()[static_cast<size_t>(others[i])];
            for (Slot to : everySlot) {
                moves.push_back({l.id, s.planOf(l).id, l.slot, to, {}, {}});
                const bool ok = extend(i + 1, left - 1);
                moves.pop_back();
                if (ok)
                    return true;
            }
        }
        return false;
    };
    for (int extra = 0; extra < kMaxChainLessons; ++extra)
        if (extend(0, extra))
            return extra + 1;
    return 0;
}

TEST(ChainSearch, FindsAChainExactlyWhenAnExhaustiveSearchDoesOnBothGrids)
{
    std::mt19937 rng(20);
    int pairs = 0, withChain = 0, longest = 0;
    for (int n = 0; n < 40; ++n) {
        RandomSchool random(rng);
        const ChainSchool& s = random.school;
        for (int k = 0; k < 10; ++k) {
            ChainRequest r;
            ChainMove first;
            const bool placed = std::uniform_int_distribution<int>(0, 3)(rng) > 0;
            if (placed) {
                const auto& l = s.lessons()[std::uniform_int_distribution<size_t>(0, s.lessons().size() - 1)(rng)];
                r.lessonId = l.id;
                first = {l.id, s.planOf(l).id, l.slot, {}, {}, {}};
            } else {
                r.planId = s.plans()[std::uniform_int_distribution<size_t>(0, s.plans().size() - 1)(rng)].id;
                first = {{}, r.planId, std::nullopt, {}, {}, {}};
            }
            r.to = {std::uniform_int_distribution<int>(1, 3)(rng), std::uniform_int_distribution<int>(1, 3)(rng)};
            r.side = k % 2 ? Side::Teacher : Side::Class;
            first.to = r.to;
            const int expected = placed || s.plans()[static_cast<size_t>(s.planIndex(r.planId))].hoursLeft > 0
                                     ? exhaustiveMinimum(s, r, first)
                                     : 0;

            const std::vector<Chain> chains = findChains(s, r);
            SCOPED_TRACE(::testing::Message()
                         << "school " << n << " pair " << k << " " << (placed ? r.lessonId : r.planId).toStdString()
                         << "→" << r.to.weekday << ":" << r.to.period);
            ++pairs;
            ASSERT_EQ(chains.empty() ? 0 : static_cast<int>(chains[0].moves.size()), expected);
            ASSERT_LE(chains.size(), static_cast<size_t>(kMaxChains));
            for (size_t c = 0; c < chains.size(); ++c) {
                EXPECT_TRUE(valid(s, r, chains[c].moves)) << c;
                if (c > 0) {
                    const Chain& a = chains[c - 1];
                    const Chain& b = chains[c];
                    EXPECT_LE(std::tuple(a.moves.size(), a.otherOwners, a.otherDays),
                              std::tuple(b.moves.size(), b.otherOwners, b.otherDays));
                    EXPECT_FALSE(a.moves == b.moves);
                }
            }
            withChain += expected > 0;
            longest = std::max(longest, expected);
        }
    }
    // The sample walks every kind of answer: none, exchanges and long chains.
    EXPECT_EQ(pairs, 400);
    EXPECT_GT(withChain, 100);
    EXPECT_LT(withChain, pairs);
    EXPECT_EQ(longest, kMaxChainLessons);
}

} // namespace

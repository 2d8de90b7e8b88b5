#include "gen/synthetic_school.h"

#include "gen/catalog.h"
#include "gen/forbidden_text.h"
#include "gen/placement.h"
#include "gen/random.h"

#include <QSet>
#include <algorithm>
#include <numeric>

namespace gen {

namespace {

// Characters with the initial of their pinyin, for names and short codes.
struct Syllable {
    const char* text;
    char initial;
};
const Syllable kSurnames[] = {
    {"王", 'W'}, {"李", 'L'}, {"张", 'Z'}, {"刘", 'L'}, {"陈", 'C'}, {"杨", 'Y'}, {"赵", 'Z'}, {"黄", 'H'},
    {"周", 'Z'}, {"吴", 'W'}, {"徐", 'X'}, {"孙", 'S'}, {"胡", 'H'}, {"朱", 'Z'}, {"高", 'G'}, {"林", 'L'},
    {"何", 'H'}, {"郭", 'G'}, {"马", 'M'}, {"罗", 'L'}, {"梁", 'L'}, {"宋", 'S'}, {"郑", 'Z'}, {"谢", 'X'},
    {"韩", 'H'}, {"唐", 'T'}, {"冯", 'F'}, {"于", 'Y'}, {"董", 'D'}, {"萧", 'X'}, {"程", 'C'}, {"曹", 'C'},
    {"袁", 'Y'}, {"邓", 'D'}, {"许", 'X'}, {"傅", 'F'}, {"沈", 'S'}, {"曾", 'Z'}, {"彭", 'P'}, {"吕", 'L'},
    {"苏", 'S'}, {"卢", 'L'}, {"蒋", 'J'}, {"蔡", 'C'}, {"贾", 'J'}, {"丁", 'D'}, {"魏", 'W'}, {"薛", 'X'},
    {"叶", 'Y'}, {"余", 'Y'}, {"潘", 'P'}, {"杜", 'D'}, {"戴", 'D'}, {"夏", 'X'}, {"钟", 'Z'}, {"汪", 'W'},
    {"田", 'T'}, {"任", 'R'}, {"姜", 'J'}, {"范", 'F'}, {"方", 'F'}, {"石", 'S'}, {"姚", 'Y'}, {"谭", 'T'},
};
const Syllable kGiven[] = {
    {"芳", 'F'}, {"强", 'Q'}, {"伟", 'W'}, {"洋", 'Y'}, {"静", 'J'}, {"帆", 'F'}, {"敏", 'M'}, {"磊", 'L'},
    {"丽", 'L'}, {"凡", 'F'}, {"明", 'M'}, {"燕", 'Y'}, {"超", 'C'}, {"红", 'H'}, {"军", 'J'}, {"涛", 'T'},
    {"平", 'P'}, {"峰", 'F'}, {"晓", 'X'}, {"爽", 'S'}, {"娜", 'N'}, {"佳", 'J'}, {"亮", 'L'}, {"雪", 'X'},
    {"冰", 'B'}, {"阳", 'Y'}, {"华", 'H'}, {"建", 'J'}, {"国", 'G'}, {"英", 'Y'}, {"玲", 'L'}, {"兰", 'L'},
    {"秀", 'X'}, {"霞", 'X'}, {"鹏", 'P'}, {"杰", 'J'}, {"勇", 'Y'}, {"艳", 'Y'}, {"波", 'B'}, {"辉", 'H'},
    {"刚", 'G'}, {"斌", 'B'}, {"宇", 'Y'}, {"浩", 'H'}, {"凯", 'K'}, {"倩", 'Q'}, {"婷", 'T'}, {"欣", 'X'},
    {"悦", 'Y'}, {"琳", 'L'}, {"颖", 'Y'}, {"晨", 'C'}, {"博", 'B'}, {"文", 'W'}, {"志", 'Z'}, {"海", 'H'},
    {"云", 'Y'}, {"飞", 'F'}, {"鑫", 'X'}, {"瑶", 'Y'}, {"慧", 'H'}, {"梅", 'M'}, {"丹", 'D'}, {"萍", 'P'},
};

int widthFor(int count, int least)
{
    int width = 1;
    for (int n = count; n >= 10; n /= 10)
        ++width;
    return std::max(width, least);
}

// A teacher's name, unique within the school, and its short code.
std::pair<QString, QString> freshName(Random& random, QSet<QString>& taken)
{
    for (;;) {
        const Syllable& surname = kSurnames[random.below(static_cast<int>(std::size(kSurnames)))];
        QString name = QString::fromUtf8(surname.text);
        QString code(QLatin1Char(surname.initial));
        const int givenLength = random.chance(0.6) ? 1 : 2;
        for (int i = 0; i < givenLength; ++i) {
            const Syllable& given = kGiven[random.below(static_cast<int>(std::size(kGiven)))];
            name += QString::fromUtf8(given.text);
            code += QLatin1Char(given.initial);
        }
        if (!taken.contains(name)) {
            taken.insert(name);
            return {name, code};
        }
    }
}

ForbiddenDay randomDay(Random& random, const Week& week, int periodCount)
{
    ForbiddenDay entry;
    entry.weekday = 1 + random.below(week.days);
    const int first = 1 + random.below(week.periods);
    entry.periods.push_back(first);
    if (periodCount > 1 && week.periods > 1) {
        const int second = 1 + (first % week.periods);
        entry.periods.push_back(second);
        std::sort(entry.periods.begin(), entry.periods.end());
    }
    return entry;
}

} // namespace

School syntheticSchool(const SyntheticOptions& options)
{
    School school;
    Random random(options.seed);
    const Week week{std::clamp(options.days, 1, 7), std::max(1, options.morning + options.afternoon + options.evening)};
    const int slotCount = week.days * week.periods;
    const QString xn = QStringLiteral("XN01");
    school.mainXnId = xn;
    school.timetables.push_back({xn, kTimetableYear, kTimetableTerm, kTimetableName});
    addDays(school, xn, week.days, std::max(0, options.morning), std::max(0, options.afternoon),
            std::max(0, options.evening));

    // Courses and their hours: all but one slot of the week when they can.
    const int courseCount = std::clamp(std::min(options.itemsPerClass, std::max(1, slotCount - 1)), 1, kCourseCount);
    std::vector<int> hours;
    for (int k = 0; k < courseCount; ++k) {
        hours.push_back(kCourses[k].hours);
        school.courses.push_back(
            {numbered("KC", k + 1, 2), QString::fromUtf8(kCourses[k].name), QString::fromUtf8(kCourses[k].shortName)});
    }
    const int target = std::max(courseCount, slotCount - 1);
    for (bool grew = true; grew && std::accumulate(hours.begin(), hours.end(), 0) < target;) {
        grew = false;
        for (int& h : hours) {
            if (h < 6 && std::accumulate(hours.begin(), hours.end(), 0) < target) {
                ++h;
                grew = true;
            }
        }
    }
    while (std::accumulate(hours.begin(), hours.end(), 0) > target) {
        for (auto it = hours.rbegin(); it != hours.rend(); ++it)
            if (*it > 1 && std::accumulate(hours.begin(), hours.end(), 0) > target)
                --*it;
    }

    // Classes spread evenly over six grades in two levels.
    const int classCount = std::max(0, options.classes);
    const int grades = std::min(6, std::max(1, classCount));
    const int classWidth = widthFor(classCount, 2);
    for (int g = 0, made = 0; g < grades; ++g) {
        const int inGrade = classCount / grades + (g < classCount % grades ? 1 : 0);
        for (int n = 1; n <= inGrade; ++n) {
            const bool streamed = g >= 4;
            school.classes.push_back(
                {numbered("BJ", ++made, classWidth), className(kGrades[g], n), QString::fromUtf8(kGrades[g].name),
                 QString::fromUtf8(kGrades[g].level),
                 streamed ? QVariant(n % 2 ? QStringLiteral("理") : QStringLiteral("文")) : nullText()});
        }
    }

    // Teachers per course in proportion to its hours, at least one each;
    // with fewer teachers than courses, teachers take several courses.
    const int teacherCount = std::max(1, options.teachers);
    std::vector<int> perCourse(static_cast<size_t>(courseCount), 0);
    if (teacherCount >= courseCount) {
        const int spare = teacherCount - courseCount;
        const int total = std::accumulate(hours.begin(), hours.end(), 0);
        std::vector<std::pair<int, int>> remainders;
        int given = 0;
        for (int k = 0; k < courseCount; ++k) {
            const int share = spare * hours[static_cast<size_t>(k)];
            perCourse[static_cast<size_t>(k)] = 1 + share / total;
            given += share / total;
            remainders.push_back({share % total, -k});
        }
        std::sort(remainders.rbegin(), remainders.rend());
        for (int i = 0; i < spare - given; ++i)
            ++perCourse[static_cast<size_t>(-remainders[static_cast<size_t>(i)].second)];
    }
    QSet<QString> names;
    const int teacherWidth = widthFor(teacherCount, 3);
    for (int t = 0; t < teacherCount; ++t) {
        int course = t % courseCount;
        if (teacherCount >= courseCount) {
            for (int k = 0, first = 0; k < courseCount; first += perCourse[static_cast<size_t>(k)], ++k)
                if (t < first + perCourse[static_cast<size_t>(k)]) {
                    course = k;
                    break;
                }
        }
        const auto [name, code] = freshName(random, names);
        school.teachers.push_back(
            {numbered("JS", t + 1, teacherWidth), name, code, QString::fromUtf8(kCourses[course].group)});
    }

    // Plan items: each course's classes cut into runs, one run per teacher
    // (a teacher keeps neighbouring classes of one grade, as schools do).
    const int planWidth = widthFor(classCount * courseCount, 4);
    for (int c = 0; c < classCount; ++c) {
        for (int k = 0; k < courseCount; ++k) {
            int teacher = 0;
            if (teacherCount >= courseCount) {
                int first = 0;
                for (int j = 0; j < k; ++j)
                    first += perCourse[static_cast<size_t>(j)];
                const int n = perCourse[static_cast<size_t>(k)];
                teacher = first + static_cast<int>(static_cast<long long>(c) * n / std::max(1, classCount));
            } else {
                teacher = (c * courseCount + k) % teacherCount;
            }
            school.plans.push_back({numbered("JH", static_cast<int>(school.plans.size()) + 1, planWidth), xn,
                                    school.classes[static_cast<size_t>(c)].id,
                                    school.teachers[static_cast<size_t>(teacher)].id,
                                    school.courses[static_cast<size_t>(k)].id, hours[static_cast<size_t>(k)]});
        }
    }

    // Settings: a few teachers and classes with forbidden periods.
    for (const TeacherRow& t : school.teachers) {
        QVariant forbidden = noPeriods();
        if (random.chance(0.08))
            forbidden = forbiddenText({randomDay(random, week, 2)});
        school.teacherSettings.push_back({xn, t.id, forbidden, random.chance(0.1) ? QVariant(1) : nullInt()});
    }
    for (const ClassRow& c : school.classes) {
        QVariant forbidden = noPeriods();
        if (random.chance(0.05))
            forbidden = forbiddenText({{1 + random.below(week.days), {week.periods}}});
        school.classSettings.push_back({xn, c.id, forbidden});
    }
    for (int k = 0; k < courseCount; ++k)
        school.courseSettings.push_back({xn, school.courses[static_cast<size_t>(k)].id, noPeriods(),
                                         k < 3   ? 1
                                         : k < 9 ? 2
                                                 : 3,
                                         nullInt(), nullInt()});
    if (courseCount > 0)
        school.courseSettings[0].consecutivePeriods = 2;
    for (PlanRow& p : school.plans)
        if (random.chance(0.02))
            school.planSettings.push_back({p.id, forbiddenText({randomDay(random, week, 1)})});

    // The share of hours to place: hours held back from random items.
    std::vector<int> wanted;
    long long total = 0;
    for (const PlanRow& p : school.plans) {
        wanted.push_back(p.hours);
        total += p.hours;
    }
    const double fill = std::clamp(options.fill, 0.0, 1.0);
    long long holdBack = total - static_cast<long long>(fill * static_cast<double>(total) + 0.5);
    while (holdBack > 0) {
        int& w = wanted[static_cast<size_t>(random.below(static_cast<int>(wanted.size())))];
        if (w > 0) {
            --w;
            --holdBack;
        }
    }
    placeLessons(school, xn, week, wanted, random);
    return school;
}

} // namespace gen

#include "gen/school.h"

#include "gen/placement.h"
#include "gen/random.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <array>
#include <numeric>

namespace gen {

namespace {

const QString kTimetableYear = QStringLiteral("2005-2006");
const QString kTimetableTerm = QStringLiteral("2");
const QString kTimetableName = QStringLiteral("课表");

struct CourseInfo {
    const char* name;
    const char* shortName;
    int hours;         // a typical week
    const char* group; // 教研组 of its teachers
};

// In the order a school would cut courses when a week is short.
const CourseInfo kCourses[] = {
    {"语文", "语", 6, "语文组"},     {"数学", "数", 6, "数学组"},     {"英语", "英", 5, "英语组"},
    {"物理", "物", 4, "理化组"},     {"化学", "化", 3, "理化组"},     {"生物", "生", 3, "生物组"},
    {"历史", "史", 2, "文综组"},     {"地理", "地", 2, "文综组"},     {"政治", "政", 2, "文综组"},
    {"体育", "体", 2, "体艺组"},     {"音乐", "音", 1, "体艺组"},     {"美术", "美", 1, "体艺组"},
    {"信息技术", "信", 1, "信息组"}, {"心理健康", "心", 1, "德育组"}, {"劳动", "劳", 1, "德育组"},
    {"书法", "书", 1, "语文组"},
};
constexpr int kCourseCount = static_cast<int>(std::size(kCourses));

struct Grade {
    const char* name;
    const char* level;
};
const Grade kGrades[] = {{"初一", "初中"}, {"初二", "初中"}, {"初三", "初中"},
                         {"高一", "高中"}, {"高二", "高中"}, {"高三", "高中"}};

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

QString numbered(const char* prefix, int n, int width)
{
    return QString::fromLatin1(prefix) + QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

int widthFor(int count, int least)
{
    int width = 1;
    for (int n = count; n >= 10; n /= 10)
        ++width;
    return std::max(width, least);
}

QString className(const Grade& grade, int number)
{
    return QString::fromUtf8(grade.name) + QStringLiteral("(%1)班").arg(number);
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

void addDays(School& school, const QString& xnId, int days, int morning, int afternoon, int evening)
{
    for (int weekday = 1; weekday <= 7; ++weekday) {
        const bool teaching = weekday <= days;
        school.days.push_back({xnId, weekday, QString::number(teaching ? morning : 0),
                               QString::number(teaching ? afternoon : 0), QString::number(teaching ? evening : 0)});
    }
}

// The nullable integer of a settings column.
QVariant nullInt() { return QVariant(QMetaType::fromType<int>()); }
QVariant nullText() { return QVariant(QMetaType::fromType<QString>()); }

// Empty, not null: the control reads a null 不排课节 as a failure.
QVariant noPeriods() { return QVariant(QString::fromLatin1("")); }

} // namespace

QString forbiddenText(const std::vector<ForbiddenDay>& days)
{
    QString text;
    for (const ForbiddenDay& day : days) {
        QStringList periods;
        for (int p : day.periods)
            periods << QString::number(p);
        text += QString::number(day.weekday) + u':' + periods.join(u'\t') + u'/';
    }
    return text;
}

Summary summarize(const School& school)
{
    Summary summary;
    summary.classes = static_cast<int>(school.classes.size());
    summary.teachers = static_cast<int>(school.teachers.size());
    QSet<QString> mainPlans;
    for (const PlanRow& p : school.plans) {
        if (p.xnId != school.mainXnId)
            continue;
        mainPlans.insert(p.id);
        ++summary.planItems;
        summary.hoursLeft += p.hours;
    }
    for (const LessonRow& l : school.lessons) {
        if (mainPlans.contains(l.planId)) {
            ++summary.lessons;
            --summary.hoursLeft;
        }
    }
    return summary;
}

School sampleSchool()
{
    School school;
    Random random(20060201);
    const Week week{5, 8};
    const QString xn = QStringLiteral("XN01");
    const QString other = QStringLiteral("XN02");
    school.mainXnId = xn;
    school.timetables.push_back({xn, kTimetableYear, kTimetableTerm, kTimetableName});
    school.timetables.push_back({other, kTimetableYear, QStringLiteral("1"), kTimetableName});
    addDays(school, xn, week.days, 4, 4, 0);

    for (int k = 0; k < 12; ++k)
        school.courses.push_back(
            {numbered("KC", k + 1, 2), QString::fromUtf8(kCourses[k].name), QString::fromUtf8(kCourses[k].shortName)});

    // Teachers with the courses they teach; 王芳 and 吴凡 share the code WF.
    struct SampleTeacher {
        const char* name;
        const char* code;
        int course;
    };
    const SampleTeacher teachers[] = {
        {"王芳", "WF", 0},  {"李强", "LQ", 0}, {"张伟", "ZW", 0}, {"刘洋", "LY", 0}, {"陈静", "CJ", 1},
        {"杨帆", "YF", 1},  {"赵敏", "ZM", 1}, {"黄磊", "HL", 1}, {"周丽", "ZL", 2}, {"吴凡", "WF", 2},
        {"徐明", "XM", 2},  {"孙燕", "SY", 3}, {"马超", "MC", 3}, {"朱红", "ZH", 4}, {"胡军", "HJ", 4},
        {"郭涛", "GT", 5},  {"何平", "HP", 5}, {"高峰", "GF", 6}, {"宋佳", "SJ", 6}, {"林晓", "LX", 7},
        {"郑爽", "ZS", 8},  {"谢娜", "XN", 8}, {"唐亮", "TL", 9}, {"冯雪", "FX", 9}, {"韩冰", "HB", 10},
        {"曹阳", "CY", 11},
    };
    std::vector<std::vector<int>> pool(12);
    for (int t = 0; t < static_cast<int>(std::size(teachers)); ++t) {
        const SampleTeacher& st = teachers[t];
        school.teachers.push_back({numbered("JS", t + 1, 3), QString::fromUtf8(st.name), QString::fromLatin1(st.code),
                                   QString::fromUtf8(kCourses[st.course].group)});
        pool[static_cast<size_t>(st.course)].push_back(t);
    }

    // Hours per course (语 数 英 物 化 生 史 地 政 体 音 美), by grade and stream.
    using Hours = std::array<int, 12>;
    const Hours junior1 = {5, 5, 4, 0, 0, 2, 2, 2, 2, 2, 1, 1};
    const Hours junior2 = {5, 5, 4, 3, 0, 2, 2, 2, 2, 2, 1, 1};
    const Hours junior3 = {5, 5, 4, 3, 3, 0, 2, 0, 2, 2, 1, 1};
    const Hours senior1 = {5, 5, 5, 3, 3, 2, 2, 2, 2, 2, 0, 0};
    const Hours science = {5, 6, 5, 4, 3, 3, 0, 0, 0, 2, 0, 0};
    const Hours arts = {6, 5, 5, 0, 0, 0, 4, 3, 3, 2, 0, 0};

    std::vector<int> load(school.teachers.size(), 0);
    int classNumber = 0;
    for (int g = 0; g < 6; ++g) {
        for (int n = 1; n <= 2; ++n) {
            const bool streamed = g >= 4;
            const QString id = numbered("BJ", ++classNumber, 2);
            school.classes.push_back(
                {id, className(kGrades[g], n), QString::fromUtf8(kGrades[g].name), QString::fromUtf8(kGrades[g].level),
                 streamed ? QVariant(n == 1 ? QStringLiteral("理") : QStringLiteral("文")) : nullText()});
            const Hours& hours = g == 0   ? junior1
                                 : g == 1 ? junior2
                                 : g == 2 ? junior3
                                 : g == 3 ? senior1
                                 : n == 1 ? science
                                          : arts;
            for (int k = 0; k < 12; ++k) {
                if (hours[static_cast<size_t>(k)] == 0)
                    continue;
                // The least busy teacher of the course takes the class.
                const auto& candidates = pool[static_cast<size_t>(k)];
                const int t = *std::min_element(candidates.begin(), candidates.end(), [&](int a, int b) {
                    return load[static_cast<size_t>(a)] < load[static_cast<size_t>(b)];
                });
                load[static_cast<size_t>(t)] += hours[static_cast<size_t>(k)];
                school.plans.push_back({numbered("JH", static_cast<int>(school.plans.size()) + 1, 4), xn, id,
                                        school.teachers[static_cast<size_t>(t)].id,
                                        school.courses[static_cast<size_t>(k)].id, hours[static_cast<size_t>(k)]});
            }
        }
    }

    // Settings: empty text means no forbidden period; a few owners have some.
    for (const TeacherRow& t : school.teachers)
        school.teacherSettings.push_back({xn, t.id, noPeriods(), nullInt()});
    auto teacherSetting = [&](const char* name) -> TeacherSettingRow& {
        for (size_t i = 0; i < school.teachers.size(); ++i)
            if (school.teachers[i].name == QString::fromUtf8(name))
                return school.teacherSettings[i];
        return school.teacherSettings.front();
    };
    teacherSetting("王芳").forbidden = QStringLiteral("1:1/");
    teacherSetting("陈静").forbidden = QStringLiteral("3:2\t6/");
    teacherSetting("孙燕").forbidden = QStringLiteral("5:7\t8/");
    teacherSetting("韩冰").forbidden = QStringLiteral("2:1\t2\t3\t4/4:5\t6/");
    teacherSetting("陈静").consecutive = 1;
    teacherSetting("周丽").consecutive = 1;
    teacherSetting("唐亮").consecutive = 1;
    teacherSetting("黄磊").consecutive = 0;

    for (const ClassRow& c : school.classes)
        school.classSettings.push_back({xn, c.id, noPeriods()});
    school.classSettings[0].forbidden = QStringLiteral("1:8/3:8/"); // 初一(1)班
    school.classSettings[10].forbidden = QStringLiteral("5:8/");    // 高三(1)班

    for (int k = 0; k < 12; ++k)
        school.courseSettings.push_back({xn, school.courses[static_cast<size_t>(k)].id, noPeriods(),
                                         k < 3   ? 1
                                         : k < 9 ? 2
                                                 : 3,
                                         nullInt(), nullInt()});
    school.courseSettings[0].consecutivePeriods = 2;                             // 语文: at most two a day
    school.courseSettings[4].consecutivePeriods = 1;                             // 化学: one a day
    school.courseSettings[9].forbidden = QStringLiteral("1:1/2:1/3:1/4:1/5:1/"); // no 体育 first thing
    school.courseSettings[9].simultaneous = 3;
    school.courseSettings[10].simultaneous = 0; // 音乐: 0 means no limit

    school.planSettings.push_back({school.plans[2].id, QStringLiteral("2:5/")});
    school.planSettings.push_back({school.plans[15].id, QStringLiteral("4:3\t4/")});
    school.planSettings.push_back({school.plans[40].id, noPeriods()});

    // Most hours placed; every ninth item keeps one hour back, one keeps all.
    std::vector<int> wanted;
    for (size_t i = 0; i < school.plans.size(); ++i)
        wanted.push_back(school.plans[i].hours - (i % 9 == 4 && school.plans[i].hours > 1 ? 1 : 0));
    wanted[static_cast<size_t>(school.plans.size()) - 1] = 0;
    placeLessons(school, xn, week, wanted, random);

    // The other term: a few rows that sit on the same teachers, classes and
    // slots as the main timetable, so that only scoping by xn_id keeps them apart.
    addDays(school, other, 5, 5, 4, 1);
    const PlanRow& firstPlan = school.plans.front(); // 初一(1)班 语文
    school.plans.push_back(
        {QStringLiteral("JH9001"), other, firstPlan.classId, firstPlan.teacherId, firstPlan.courseId, 4});
    school.plans.push_back({QStringLiteral("JH9002"), other, school.classes[0].id, school.plans[1].teacherId,
                            school.plans[1].courseId, 4});
    school.plans.push_back(
        {QStringLiteral("JH9003"), other, school.classes[1].id, school.teachers[8].id, school.courses[2].id, 3});
    int copied = 0;
    const size_t mainLessons = school.lessons.size();
    for (size_t i = 0; i < mainLessons && copied < 3; ++i) {
        if (school.lessons[i].planId != firstPlan.id)
            continue;
        const LessonRow& l = school.lessons[i];
        school.lessons.push_back({lessonId(random), QStringLiteral("JH9001"), l.weekday, l.period});
        ++copied;
    }
    school.lessons.push_back({lessonId(random), QStringLiteral("JH9002"), 1, 8});
    school.lessons.push_back({lessonId(random), QStringLiteral("JH9003"), 2, 2});
    school.teacherSettings.push_back({other, firstPlan.teacherId, QStringLiteral("2:1\t2\t3\t4\t5\t6\t7\t8/"), 1});
    school.classSettings.push_back({other, school.classes[0].id, QStringLiteral("4:1/")});
    school.courseSettings.push_back({other, school.courses[0].id, QStringLiteral("3:3/"), 9, 1, 1});
    return school;
}

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

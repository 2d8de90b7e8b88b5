#include "gen/sample_school.h"

#include "gen/catalog.h"
#include "gen/forbidden_text.h"
#include "gen/placement.h"
#include "gen/random.h"

#include <algorithm>
#include <array>

namespace gen {

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

} // namespace gen

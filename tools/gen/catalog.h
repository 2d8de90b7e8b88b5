#pragma once

#include <QString>
#include <iterator>

// What every generated school draws on: its courses and grades, the name of
// its timetable, and how its ids and class names are spelled.
namespace gen {

inline const QString kTimetableYear = QStringLiteral("2005-2006");
inline const QString kTimetableTerm = QStringLiteral("2");
inline const QString kTimetableName = QStringLiteral("课表");

struct CourseInfo {
    const char* name;
    const char* shortName;
    int hours;         // a typical week
    const char* group; // 教研组 of its teachers
};

// In the order a school would cut courses when a week is short.
inline constexpr CourseInfo kCourses[] = {
    {"语文", "语", 6, "语文组"},     {"数学", "数", 6, "数学组"},     {"英语", "英", 5, "英语组"},
    {"物理", "物", 4, "理化组"},     {"化学", "化", 3, "理化组"},     {"生物", "生", 3, "生物组"},
    {"历史", "史", 2, "文综组"},     {"地理", "地", 2, "文综组"},     {"政治", "政", 2, "文综组"},
    {"体育", "体", 2, "体艺组"},     {"音乐", "音", 1, "体艺组"},     {"美术", "美", 1, "体艺组"},
    {"信息技术", "信", 1, "信息组"}, {"心理健康", "心", 1, "德育组"}, {"劳动", "劳", 1, "德育组"},
    {"书法", "书", 1, "语文组"},
};
inline constexpr int kCourseCount = static_cast<int>(std::size(kCourses));

struct Grade {
    const char* name;
    const char* level;
};
inline constexpr Grade kGrades[] = {{"初一", "初中"}, {"初二", "初中"}, {"初三", "初中"},
                                    {"高一", "高中"}, {"高二", "高中"}, {"高三", "高中"}};

// An id: the prefix and n with at least `width` digits ("JS007").
QString numbered(const char* prefix, int n, int width);

// "初一(2)班".
QString className(const Grade& grade, int number);

} // namespace gen

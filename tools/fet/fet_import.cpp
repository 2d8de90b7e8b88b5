#include "fet/fet_import.h"

#include "state/guid.h"
#include "gen/row_batch.h"
#include "gen/writer.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/optional_schema.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace fet {

namespace {

constexpr int kExamples = 3;

const char* const kTimetableTables[] = {"sz_xn", "sz_xn_rq", "info_bj", "info_js", "info_kc", "info_jxjh",
                                        "kcb",   "sz_js",    "sz_bj",   "sz_kc",   "sz_jxjh"};

// The tables the import adds beside the documented ones; the export finds
// them, and everything else works without them.
const char* const kImportTables[] = {
    // SQLite takes a leading byte order mark out of bound text, so the mark
    // is kept apart: bom is 1 when the file began with one.
    "create table if not exists kbtz_fet_file (xn_id text primary key, file_name text, bom integer, content text)",
    "create table if not exists kbtz_fet_lesson (kcb_id text primary key, xn_id text, activity_id integer)",
    "create index if not exists kbtz_fet_lesson_timetable on kbtz_fet_lesson (xn_id)",
};

QString defaultSchoolYear()
{
    const QDate today = QDate::currentDate();
    const int first = today.month() >= 8 ? today.year() : today.year() - 1;
    return QStringLiteral("%1-%2").arg(first).arg(first + 1);
}

void note(std::vector<KeptAside>& aside, const QString& what, const QString& example, int count = 1)
{
    auto it = std::find_if(aside.begin(), aside.end(), [&](const KeptAside& k) { return k.what == what; });
    if (it == aside.end())
        it = aside.insert(aside.end(), KeptAside{what, 0, {}, 0});
    it->count += count;
    ++it->noted;
    if (it->examples.size() < kExamples && !example.isEmpty())
        it->examples << example;
}

// 不排课节 of a set of FET times: "weekday:period<TAB>period/" per weekday.
QString forbiddenText(const std::set<std::pair<int, int>>& periods)
{
    QString text;
    int day = 0;
    for (const auto& [weekday, period] : periods) {
        if (weekday != day) {
            if (day)
                text += u'/';
            text += QString::number(weekday) + u':';
            day = weekday;
        } else {
            text += u'\t';
        }
        text += QString::number(period);
    }
    return day ? text + u'/' : text;
}

class Import {
public:
    Import(const FetFile& f, const ImportOptions& options) : f_(f), options_(options) {}

    ImportSummary run(QSqlDatabase db, const QString& text)
    {
        s_.schoolYear = options_.schoolYear.isEmpty() ? defaultSchoolYear() : options_.schoolYear;
        s_.term = options_.term.isEmpty() ? QStringLiteral("1") : options_.term;
        s_.name = !options_.name.isEmpty()    ? options_.name
                  : !f_.institution.isEmpty() ? f_.institution
                                              : QStringLiteral("FET");
        GuidRecord guid;
        if (systemGuid(guid) != 0)
            throw FetError(QStringLiteral("no identifier could be made for the timetable"));
        s_.xnId = formatGuid(guid);
        s_.weekdays = f_.week.weekdays();
        s_.periods = f_.week.periodsPerDay();

        if (!db.transaction())
            throw FetError(gen::describe(db.lastError(), QStringLiteral("begin")));
        try {
            prepareTables(db);
            refuseExistingName(db);
            write(db, text);
        } catch (const gen::WriteFailure& failure) {
            db.rollback();
            throw FetError(failure.description);
        } catch (...) {
            db.rollback();
            throw;
        }
        if (!db.commit()) {
            const QString error = gen::describe(db.lastError(), QStringLiteral("commit"));
            db.rollback();
            throw FetError(error);
        }
        return s_;
    }

private:
    void prepareTables(QSqlDatabase db)
    {
        Connection conn(db);
        int present = 0;
        for (const char* table : kTimetableTables)
            present += tablePresent(conn, QString::fromLatin1(table));
        if (present == 0) {
            const QString script = conn.engine() == Engine::PostgreSQL ? gen::postgresSchema() : gen::sqliteSchema();
            if (const QString error = gen::runScript(db, script); !error.isEmpty())
                throw FetError(error);
        } else if (present < static_cast<int>(std::size(kTimetableTables))) {
            throw FetError(QStringLiteral("the database has some of the timetable tables but not all"));
        }
        for (const char* statement : kImportTables)
            gen::run(db, QString::fromLatin1(statement));
        dayWeekday_ = findOptionalSchema(conn).dayWeekday;
    }

    void refuseExistingName(QSqlDatabase db)
    {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("select id from sz_xn where 学年=? and 学期=? and 排课名称=?"));
        q.addBindValue(s_.schoolYear);
        q.addBindValue(s_.term);
        q.addBindValue(s_.name);
        if (!q.exec())
            throw FetError(gen::describe(q.lastError(), q.lastQuery()));
        if (q.next())
            throw FetError(QStringLiteral("the database already has timetable %1 %2 “%3”; give another --name")
                               .arg(s_.schoolYear, s_.term, s_.name));
    }

    QString id(const char* kind, size_t n) const { return QStringLiteral("%1-%2%3").arg(s_.xnId).arg(kind).arg(n); }

    void write(QSqlDatabase db, const QString& text)
    {
        using L = QStringList;
        gen::RowBatch timetable(db, QStringLiteral("sz_xn"), L{"id", "学年", "学期", "排课名称"});
        timetable.add({s_.xnId, s_.schoolYear, s_.term, s_.name});
        timetable.flush();
        writeDays(db);
        planActivities();
        writeNames(db);
        writePlans(db);
        writeSettings(db);
        gen::RowBatch file(db, QStringLiteral("kbtz_fet_file"), L{"xn_id", "file_name", "bom", "content"});
        const qsizetype bom = bomLength(text);
        file.add({s_.xnId, options_.fileName, static_cast<int>(bom), text.mid(bom)});
        file.flush();
        noteAside();
    }

    void writeDays(QSqlDatabase db)
    {
        const Week& w = f_.week;
        const QString morning = QString::number(w.fetHours);
        const QString afternoon = QString::number(w.morningsAfternoons ? w.fetHours : 0);
        gen::RowBatch days(db, QStringLiteral("sz_xn_rq"),
                           dayWeekday_ ? QStringList{"xn_id", "星期", "上午", "下午", "晚上"}
                                       : QStringList{"xn_id", "上午", "下午", "晚上"});
        for (int d = 1; d <= w.weekdays(); ++d)
            days.add(dayWeekday_ ? QVariantList{s_.xnId, d, morning, afternoon, QStringLiteral("0")}
                                 : QVariantList{s_.xnId, morning, afternoon, QStringLiteral("0")});
        days.flush();
    }

    // Which activities make plan items, and where each placed one starts.
    void planActivities()
    {
        std::map<int, const StartingTime*> start;
        for (const StartingTime& t : f_.startingTimes) {
            if (t.active && t.weight >= 100 && !start.count(t.activityId))
                start.emplace(t.activityId, &t);
            else
                note(aside_, QStringLiteral("starting times below weight 100, inactive or repeated"),
                     QStringLiteral("activity %1").arg(t.activityId));
        }
        for (const Activity& a : f_.activities) {
            const QString example = QStringLiteral("activity %1").arg(a.id);
            if (!a.active) {
                note(aside_, QStringLiteral("inactive activities"), example);
                continue;
            }
            if (a.teachers.size() != 1 || a.students.size() != 1) {
                const QString what = a.teachers.size() > 1   ? QStringLiteral("activities with several teachers")
                                     : a.teachers.isEmpty()  ? QStringLiteral("activities without a teacher")
                                     : a.students.size() > 1 ? QStringLiteral("activities with several students sets")
                                                             : QStringLiteral("activities without students");
                note(aside_, what, example);
                for (const QString& set : a.students)
                    classOf(set); // a students set an activity names is a class all the same
                continue;
            }
            const auto key = std::make_tuple(classOf(a.students[0]), teacherOf(a.teachers[0]), courseOf(a.subject));
            auto plan = planIndex_.find(key);
            if (plan == planIndex_.end())
                plan = planIndex_.emplace(key, plans_.size()).first, plans_.push_back({key, 0});
            plans_[plan->second].hours += a.duration;
            const auto s = start.find(a.id);
            if (s == start.end()) {
                ++s_.unplacedActivities;
                continue;
            }
            ++s_.placedActivities;
            for (int k = 0; k < a.duration; ++k) {
                const FetTime t{s->second->time.day, s->second->time.hour + k};
                lessons_.push_back({plan->second, a.id, f_.week.weekdayOf(t), f_.week.periodOf(t)});
            }
        }
    }

    size_t indexOf(const QString& name, std::map<QString, size_t>& index, QStringList& names)
    {
        const auto [it, added] = index.emplace(name, names.size());
        if (added)
            names << name;
        return it->second;
    }
    size_t classOf(const QString& set) { return indexOf(set, classIndex_, classes_); }
    size_t teacherOf(const QString& name) { return indexOf(name, teacherIndex_, teachers_); }
    size_t courseOf(const QString& name) { return indexOf(name, courseIndex_, courses_); }

    void writeNames(QSqlDatabase db)
    {
        for (const QString& t : f_.teachers)
            teacherOf(t);
        for (const QString& c : f_.subjects)
            courseOf(c);
        const QString level = f_.institution.isEmpty() ? QStringLiteral("FET") : f_.institution;
        gen::RowBatch classes(db, QStringLiteral("info_bj"), QStringList{"id", "班级", "年级", "级别"});
        for (qsizetype i = 0; i < classes_.size(); ++i) {
            const auto year = f_.yearOfSet.find(classes_[i]);
            classes.add({id("bj", i + 1), classes_[i], year == f_.yearOfSet.end() ? classes_[i] : year->second, level});
        }
        classes.flush();
        gen::RowBatch teachers(db, QStringLiteral("info_js"), QStringList{"id", "姓名", "简码"});
        for (qsizetype i = 0; i < teachers_.size(); ++i)
            teachers.add({id("js", i + 1), teachers_[i], shortCodeOf(teachers_[i])});
        teachers.flush();
        gen::RowBatch courses(db, QStringLiteral("info_kc"), QStringList{"id", "课程名", "课程简称"});
        for (qsizetype i = 0; i < courses_.size(); ++i)
            courses.add({id("kc", i + 1), courses_[i], courses_[i]});
        courses.flush();
        s_.classes = static_cast<int>(classes_.size());
        s_.teachers = static_cast<int>(teachers_.size());
        s_.courses = static_cast<int>(courses_.size());
    }

    void writePlans(QSqlDatabase db)
    {
        gen::RowBatch plans(db, QStringLiteral("info_jxjh"),
                            QStringList{"id", "xn_id", "bj_id", "js_id", "kc_id", "每周课时"});
        for (size_t i = 0; i < plans_.size(); ++i) {
            const auto& [c, t, k] = plans_[i].key;
            plans.add({id("jh", i + 1), s_.xnId, id("bj", c + 1), id("js", t + 1), id("kc", k + 1), plans_[i].hours});
        }
        plans.flush();
        gen::RowBatch lessons(db, QStringLiteral("kcb"), QStringList{"id", "jxjh_id", "星期", "课节"});
        gen::RowBatch links(db, QStringLiteral("kbtz_fet_lesson"), QStringList{"kcb_id", "xn_id", "activity_id"});
        std::map<int, int> part;
        for (const LessonRow& l : lessons_) {
            const QString lessonId = QStringLiteral("%1-a%2-%3").arg(s_.xnId).arg(l.activity).arg(part[l.activity]++);
            lessons.add({lessonId, id("jh", l.plan + 1), l.weekday, l.period});
            links.add({lessonId, s_.xnId, l.activity});
        }
        lessons.flush();
        links.flush();
        s_.planItems = static_cast<int>(plans_.size());
        s_.lessons = static_cast<int>(lessons_.size());
    }

    // Not-available times of weight 100 become forbidden periods; the break
    // times are every class's forbidden periods too, since every lesson has
    // a class and no lesson may stand in a break.
    void writeSettings(QSqlDatabase db)
    {
        using Slots = std::set<std::pair<int, int>>;
        const auto add = [&](Slots& periods, const NotAvailable& n) {
            for (const FetTime& t : n.times)
                periods.emplace(f_.week.weekdayOf(t), f_.week.periodOf(t));
        };
        const auto usable = [&](const NotAvailable& n, const QString& what) {
            if (n.active && n.weight >= 100)
                return true;
            note(aside_, what + QStringLiteral(" below weight 100 or inactive"), n.owner);
            return false;
        };
        Slots breaks;
        for (const NotAvailable& n : f_.breakTimes)
            if (usable(n, QStringLiteral("break times")))
                add(breaks, n);

        std::map<size_t, Slots> teacherSlots, classSlots;
        for (const NotAvailable& n : f_.teacherNotAvailable)
            if (usable(n, QStringLiteral("teachers' not-available times")))
                add(teacherSlots[teacherOf(n.owner)], n);
        for (const NotAvailable& n : f_.studentsNotAvailable) {
            if (!usable(n, QStringLiteral("students' not-available times")))
                continue;
            bool any = false;
            for (qsizetype c = 0; c < classes_.size(); ++c)
                if (within(classes_[c], n.owner)) {
                    add(classSlots[static_cast<size_t>(c)], n);
                    any = true;
                }
            if (!any)
                note(aside_, QStringLiteral("students' not-available times of a set no activity here names"), n.owner);
        }
        if (!breaks.empty())
            for (qsizetype c = 0; c < classes_.size(); ++c)
                classSlots[static_cast<size_t>(c)].insert(breaks.begin(), breaks.end());

        gen::RowBatch teachers(db, QStringLiteral("sz_js"), QStringList{"xn_id", "js_id", "不排课节"});
        for (const auto& [t, periods] : teacherSlots)
            teachers.add({s_.xnId, id("js", t + 1), forbiddenText(periods)});
        teachers.flush();
        gen::RowBatch classes(db, QStringLiteral("sz_bj"), QStringList{"xn_id", "bj_id", "不排课节"});
        for (const auto& [c, periods] : classSlots)
            classes.add({s_.xnId, id("bj", c + 1), forbiddenText(periods)});
        classes.flush();
        s_.teacherSettings = static_cast<int>(teacherSlots.size());
        s_.classSettings = static_cast<int>(classSlots.size());
    }

    // Whether students set `set` is `owner` or lies inside it (a group of a
    // year, a subgroup of a group).
    bool within(const QString& set, const QString& owner, int depth = 0) const
    {
        if (set == owner)
            return true;
        if (depth > 3)
            return false;
        for (const QString& parent : f_.parentsOfSet.value(set))
            if (within(parent, owner, depth + 1))
                return true;
        return false;
    }

    void noteAside()
    {
        if (f_.rooms)
            note(aside_, QStringLiteral("rooms"), QString(), f_.rooms);
        if (f_.buildings)
            note(aside_, QStringLiteral("buildings"), QString(), f_.buildings);
        for (const auto& [name, count] : f_.otherConstraints)
            note(aside_, QStringLiteral("other constraints"), QStringLiteral("%1 ×%2").arg(name).arg(count), count);
        s_.keptAside = aside_;
    }

    struct Plan {
        std::tuple<size_t, size_t, size_t> key; // class, teacher, course
        int hours = 0;
    };
    struct LessonRow {
        size_t plan;
        int activity, weekday, period;
    };

    const FetFile& f_;
    const ImportOptions& options_;
    ImportSummary s_;
    bool dayWeekday_ = false;
    QStringList classes_, teachers_, courses_;
    std::map<QString, size_t> classIndex_, teacherIndex_, courseIndex_;
    std::map<std::tuple<size_t, size_t, size_t>, size_t> planIndex_;
    std::vector<Plan> plans_;
    std::vector<LessonRow> lessons_;
    std::vector<KeptAside> aside_;
};

} // namespace

QString shortCodeOf(const QString& teacherName)
{
    QString code;
    const QStringList words = teacherName.split(QRegularExpression(QStringLiteral("[\\s\\p{P}]+")), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        bool number = false;
        word.toInt(&number);
        code += number ? word : word.left(1).toUpper();
    }
    // A name of one word gives two characters, so that fewer teachers share a code.
    if (words.size() == 1 && !code.isEmpty() && code == words[0].left(1).toUpper())
        code = words[0].left(2).toUpper();
    return code.left(8);
}

QStringList ImportSummary::lines() const
{
    QStringList out;
    out << QStringLiteral("timetable %1: %2 %3 “%4”").arg(xnId, schoolYear, term, name);
    out << QStringLiteral("  %1 weekdays of %2 periods").arg(weekdays).arg(periods);
    out << QStringLiteral("  %1 classes, %2 teachers, %3 courses, %4 plan items")
               .arg(classes)
               .arg(teachers)
               .arg(courses)
               .arg(planItems);
    out << QStringLiteral("  %1 lessons from %2 activities with a start; %3 activities without one (hours left)")
               .arg(lessons)
               .arg(placedActivities)
               .arg(unplacedActivities);
    out << QStringLiteral("  forbidden periods of %1 teachers and %2 classes").arg(teacherSettings).arg(classSettings);
    if (keptAside.empty())
        out << QStringLiteral("kept aside: nothing");
    else
        out << QStringLiteral("kept aside in the stored file:");
    for (const KeptAside& k : keptAside) {
        QString examples;
        if (!k.examples.isEmpty())
            examples = QStringLiteral(" (") + k.examples.join(QStringLiteral(", ")) +
                       (k.examples.size() < k.noted ? QStringLiteral(", …)") : QStringLiteral(")"));
        out << QStringLiteral("  %1: %2%3").arg(k.what).arg(k.count).arg(examples);
    }
    return out;
}

ImportSummary importFet(QSqlDatabase db, const FetFile& file, const QString& text, const ImportOptions& options)
{
    return Import(file, options).run(db, text);
}

} // namespace fet

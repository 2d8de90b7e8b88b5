#include "gen/writer.h"

#include "gen/row_batch.h"

#include "gen/gen_statements.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <functional>

namespace gen {

namespace {

const char* const kTables[] = {"sz_xn", "sz_xn_rq", "info_bj", "info_js", "info_kc", "info_jxjh",
                               "kcb",   "sz_js",    "sz_bj",   "sz_kc",   "sz_jxjh"};

template <typename Row> void writeRows(QSqlDatabase db, const char* table, const QStringList& columns,
                                       const std::vector<Row>& rows,
                                       const std::function<QVariantList(const Row&)>& values)
{
    RowBatch batch(db, QString::fromLatin1(table), columns);
    for (const Row& row : rows)
        batch.add(values(row));
    batch.flush();
}

void writeAll(QSqlDatabase db, const School& s)
{
    using L = QStringList;
    writeRows<TimetableRow>(db, "sz_xn", L{"id", "学年", "学期", "排课名称"}, s.timetables, [](const TimetableRow& r) {
        return QVariantList{r.id, r.schoolYear, r.term, r.scheduleName};
    });
    writeRows<DayRow>(db, "sz_xn_rq", L{"xn_id", "星期", "上午", "下午", "晚上"}, s.days, [](const DayRow& r) {
        return QVariantList{r.xnId, r.weekday, r.morning, r.afternoon, r.evening};
    });
    writeRows<ClassRow>(db, "info_bj", L{"id", "班级", "年级", "级别", "文理类型"}, s.classes, [](const ClassRow& r) {
        return QVariantList{r.id, r.name, r.grade, r.level, r.stream};
    });
    writeRows<TeacherRow>(db, "info_js", L{"id", "姓名", "简码", "教研组"}, s.teachers, [](const TeacherRow& r) {
        return QVariantList{r.id, r.name, r.code, r.group};
    });
    writeRows<CourseRow>(db, "info_kc", L{"id", "课程名", "课程简称"}, s.courses, [](const CourseRow& r) {
        return QVariantList{r.id, r.name, r.shortName};
    });
    writeRows<PlanRow>(
        db, "info_jxjh", L{"id", "xn_id", "bj_id", "js_id", "kc_id", "每周课时"}, s.plans,
        [](const PlanRow& r) { return QVariantList{r.id, r.xnId, r.classId, r.teacherId, r.courseId, r.hours}; });
    writeRows<LessonRow>(db, "kcb", L{"id", "jxjh_id", "星期", "课节"}, s.lessons, [](const LessonRow& r) {
        return QVariantList{r.id, r.planId, r.weekday, r.period};
    });
    writeRows<TeacherSettingRow>(db, "sz_js", L{"xn_id", "js_id", "不排课节", "是否连排"}, s.teacherSettings,
                                 [](const TeacherSettingRow& r) {
                                     return QVariantList{r.xnId, r.teacherId, r.forbidden, r.consecutive};
                                 });
    writeRows<ClassSettingRow>(db, "sz_bj", L{"xn_id", "bj_id", "不排课节"}, s.classSettings,
                               [](const ClassSettingRow& r) {
                                   return QVariantList{r.xnId, r.classId, r.forbidden};
                               });
    writeRows<CourseSettingRow>(db, "sz_kc", L{"xn_id", "kc_id", "不排课节", "优先级", "同时排班数", "连上节数"},
                                s.courseSettings, [](const CourseSettingRow& r) {
                                    return QVariantList{r.xnId,     r.courseId,     r.forbidden,
                                                        r.priority, r.simultaneous, r.consecutivePeriods};
                                });
    writeRows<PlanSettingRow>(db, "sz_jxjh", L{"jxjh_id", "不排课节"}, s.planSettings, [](const PlanSettingRow& r) {
        return QVariantList{r.planId, r.forbidden};
    });
}

} // namespace

QString runScript(QSqlDatabase db, const QString& script)
{
    QString statement;
    bool quoted = false;
    const auto flush = [&]() -> QString {
        const QString text = statement.trimmed();
        statement.clear();
        if (text.isEmpty())
            return QString();
        QSqlQuery q(db);
        return q.exec(text) ? QString() : describe(q.lastError(), text);
    };
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (!quoted && c == u'-' && i + 1 < script.size() && script[i + 1] == u'-') {
            while (i < script.size() && script[i] != u'\n')
                ++i;
            statement += u'\n';
            continue;
        }
        if (c == u'\'')
            quoted = !quoted; // a doubled quote toggles twice
        if (!quoted && c == u';') {
            if (QString error = flush(); !error.isEmpty())
                return error;
            continue;
        }
        statement += c;
    }
    if (quoted)
        return QStringLiteral("unterminated quoted text in: ") + statement.trimmed().left(200);
    return flush();
}

SchemaState schemaState(QSqlDatabase db)
{
    const QStringList present = db.tables();
    int found = 0;
    for (const char* table : kTables)
        if (present.contains(QString::fromLatin1(table), Qt::CaseInsensitive))
            ++found;
    if (found == static_cast<int>(std::size(kTables)))
        return SchemaState::Complete;
    return found == 0 ? SchemaState::Missing : SchemaState::Partial;
}

QString createSchema(QSqlDatabase db)
{
    const QString driver = db.driverName();
    QString script;
    if (driver.startsWith(QLatin1String("QSQLITE")))
        script = sqliteSchema();
    else if (driver.startsWith(QLatin1String("QPSQL")))
        script = postgresSchema();
    else
        return QStringLiteral("no schema for the database driver ") + driver;
    // One transaction: SQLite would otherwise sync the file after every statement.
    if (!db.transaction())
        return describe(db.lastError(), QStringLiteral("begin"));
    if (const QString error = runScript(db, script); !error.isEmpty()) {
        db.rollback();
        return error;
    }
    return db.commit() ? QString() : describe(db.lastError(), QStringLiteral("commit"));
}

QString useWriteAheadLog(QSqlDatabase db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("pragma journal_mode=wal")))
        return describe(q.lastError(), q.lastQuery());
    return q.next() && q.value(0).toString() == QLatin1String("wal")
               ? QString()
               : QStringLiteral("the file keeps no write-ahead log");
}

int timetableCount(QSqlDatabase db)
{
    QSqlQuery q(db);
    if (!q.exec(sql::countRows(QStringLiteral("sz_xn"))) || !q.next())
        return -1;
    return q.value(0).toInt();
}

QString writeSchool(QSqlDatabase db, const School& school, bool replace)
{
    if (!db.transaction())
        return describe(db.lastError(), QStringLiteral("begin"));
    try {
        if (replace) {
            for (const char* table : kTables)
                run(db, sql::deleteAllRows(QString::fromLatin1(table)));
            // The history of the timetables replaced, where the database keeps one.
            if (db.tables().contains(QStringLiteral("kcb_log"), Qt::CaseInsensitive))
                run(db, sql::deleteAllRows(QStringLiteral("kcb_log")));
        }
        writeAll(db, school);
    } catch (const WriteFailure& failure) {
        db.rollback();
        return failure.description;
    }
    if (!db.commit()) {
        const QString error = describe(db.lastError(), QStringLiteral("commit"));
        db.rollback();
        return error;
    }
    return QString();
}

} // namespace gen

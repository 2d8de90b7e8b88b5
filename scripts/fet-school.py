#!/usr/bin/env python3
"""Writes a timetable database (as kbtz-gen writes it, SQLite) as a FET file
with its timetable: one activity per lesson, starting where the lesson
stands (weight 100, as fet-cl writes a generated timetable), and one
activity without a start for every hour left. Used by scripts/fet-bench.sh
to make a FET file of the large synthetic school.

    scripts/fet-school.py SCHOOL.db OUT.fet
"""
import sqlite3
import sys
from xml.sax.saxutils import escape


def main(db_path, out_path):
    db = sqlite3.connect(db_path)
    (xn,) = db.execute("select id from sz_xn order by id limit 1").fetchone()
    days = db.execute("select count(*), max(cast(上午 as int)+cast(下午 as int)+cast(晚上 as int)) "
                      "from sz_xn_rq where xn_id=?", (xn,)).fetchone()
    n_days, n_hours = days[0], days[1]
    classes = db.execute("select id, 班级, 年级 from info_bj order by 年级, id").fetchall()
    teachers = db.execute("select id, 姓名 from info_js order by id").fetchall()
    courses = db.execute("select id, 课程名 from info_kc order by id").fetchall()
    # FET names a students set once; class names repeat across grades here.
    class_name = {c[0]: f"{c[2]} {c[1]}" for c in classes}
    teacher_name = {t[0]: f"{t[1]} {t[0]}" for t in teachers}
    course_name = {k[0]: k[1] for k in courses}
    day_names = [f"Day {d + 1}" for d in range(n_days)]
    hour_names = [f"Hour {h + 1}" for h in range(n_hours)]

    out = ['\ufeff<?xml version="1.0" encoding="UTF-8"?>\n\n<fet version="6.8.5">\n',
           "<Institution_Name>Large synthetic school</Institution_Name>\n"]
    out.append(f"<Days_List>\n<Number_of_Days>{n_days}</Number_of_Days>\n")
    out += [f"<Day>\n\t<Name>{d}</Name>\n</Day>\n" for d in day_names]
    out.append(f"</Days_List>\n<Hours_List>\n<Number_of_Hours>{n_hours}</Number_of_Hours>\n")
    out += [f"<Hour>\n\t<Name>{h}</Name>\n</Hour>\n" for h in hour_names]
    out.append("</Hours_List>\n<Subjects_List>\n")
    out += [f"<Subject>\n\t<Name>{escape(n)}</Name>\n</Subject>\n" for n in sorted(set(course_name.values()))]
    out.append("</Subjects_List>\n<Teachers_List>\n")
    out += [f"<Teacher>\n\t<Name>{escape(n)}</Name>\n</Teacher>\n" for n in teacher_name.values()]
    out.append("</Teachers_List>\n<Students_List>\n")
    for grade in sorted({c[2] for c in classes}):
        out.append(f"<Year>\n\t<Name>{escape(grade)}</Name>\n")
        out += [f"\t<Group>\n\t\t<Name>{escape(class_name[c[0]])}</Name>\n\t</Group>\n" for c in classes if c[2] == grade]
        out.append("</Year>\n")
    out.append("</Students_List>\n<Activities_List>\n")

    activities, starts = [], []
    plans = db.execute("select id, bj_id, js_id, kc_id, 每周课时 from info_jxjh where xn_id=? order by id", (xn,))
    for plan_id, bj, js, kc, hours in plans.fetchall():
        lessons = db.execute("select 星期, 课节 from kcb where jxjh_id=? order by 星期, 课节", (plan_id,)).fetchall()
        for k in range(max(hours, len(lessons))):
            aid = len(activities) + 1
            activities.append(
                f"<Activity>\n\t<Teacher>{escape(teacher_name[js])}</Teacher>\n\t<Subject>{escape(course_name[kc])}"
                f"</Subject>\n\t<Students>{escape(class_name[bj])}</Students>\n\t<Duration>1</Duration>\n"
                f"\t<Total_Duration>1</Total_Duration>\n\t<Id>{aid}</Id>\n\t<Activity_Group_Id>0</Activity_Group_Id>\n"
                f"\t<Active>true</Active>\n\t<Comments></Comments>\n</Activity>\n")
            if k < len(lessons):
                day, period = lessons[k]
                starts.append(
                    f"<ConstraintActivityPreferredStartingTime>\n\t<Weight_Percentage>100</Weight_Percentage>\n"
                    f"\t<Activity_Id>{aid}</Activity_Id>\n\t<Preferred_Day>{day_names[day - 1]}</Preferred_Day>\n"
                    f"\t<Preferred_Hour>{hour_names[period - 1]}</Preferred_Hour>\n"
                    f"\t<Permanently_Locked>false</Permanently_Locked>\n\t<Active>true</Active>\n"
                    f"\t<Comments></Comments>\n</ConstraintActivityPreferredStartingTime>\n")
    out += activities
    out.append("</Activities_List>\n<Time_Constraints_List>\n<ConstraintBasicCompulsoryTime>\n"
               "\t<Weight_Percentage>100</Weight_Percentage>\n\t<Active>true</Active>\n\t<Comments></Comments>\n"
               "</ConstraintBasicCompulsoryTime>\n")
    out += starts
    out.append("</Time_Constraints_List>\n<Space_Constraints_List>\n<ConstraintBasicCompulsorySpace>\n"
               "\t<Weight_Percentage>100</Weight_Percentage>\n\t<Active>true</Active>\n\t<Comments></Comments>\n"
               "</ConstraintBasicCompulsorySpace>\n</Space_Constraints_List>\n\n</fet>\n")
    with open(out_path, "w", encoding="utf-8") as f:
        f.write("".join(out))
    print(f"{out_path}: {len(classes)} classes, {len(activities)} activities, {len(starts)} with a start")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])

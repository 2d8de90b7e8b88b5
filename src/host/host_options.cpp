#include "host/host_options.h"

#include <QStringList>
#include <cstring>

namespace {

bool number(const char* text, int* out)
{
    bool ok = false;
    *out = QString::fromLocal8Bit(text).toInt(&ok);
    return ok;
}

} // namespace

const char* hostUsage()
{
    return "usage: frmKbTz [--db FILE | --pg CONNINFO] [--size WxH] [--screenshot PNG] [--pick-class N] [--pick-teacher N]\n"
           "               [--rclick W P] [--marks] [--conflicts]\n"
           "  --db FILE         the SQLite timetable database (default: qx_lm.db next to the program)\n"
           "  --pg CONNINFO     a PostgreSQL timetable database instead (\"host=... dbname=... user=...\")\n"
           "  --size WxH        open the window W pixels wide and H high (default: as designed, within the screen)\n"
           "  --screenshot PNG  render the window after start-up to PNG, print its path and exit\n"
           "  --pick-class N    after start-up, choose entry N (from 0) of the class selector\n"
           "  --pick-teacher N  after start-up, choose entry N (from 0) of the teacher selector\n"
           "  --rclick W P      then right-click the class grid cell of weekday W, period P\n"
           "  --marks           mark each analysed cell's state with a shape besides its colour\n"
           "  --conflicts       then run the conflict check and show its list (检查 > 冲突检查)\n";
}

std::optional<HostOptions> parseHostOptions(int argc, char** argv, QString* error)
{
    HostOptions o;
    auto need = [&](int i, int count) {
        if (i + count >= argc) {
            *error = QStringLiteral("%1 needs %2 argument(s)").arg(QString::fromLocal8Bit(argv[i])).arg(count);
            return false;
        }
        return true;
    };
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--db")) {
            if (!need(i, 1))
                return std::nullopt;
            o.db = QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(a, "--pg")) {
            if (!need(i, 1))
                return std::nullopt;
            o.pg = QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(a, "--size")) {
            if (!need(i, 1))
                return std::nullopt;
            const QStringList parts = QString::fromLocal8Bit(argv[++i]).split(QLatin1Char('x'));
            int w = 0, h = 0;
            if (parts.size() != 2 || !number(qPrintable(parts[0]), &w) || !number(qPrintable(parts[1]), &h) || w < 1 ||
                h < 1) {
                *error = QStringLiteral("--size needs a width and a height in pixels, as 1366x738");
                return std::nullopt;
            }
            o.size = QSize(w, h);
        } else if (!std::strcmp(a, "--screenshot")) {
            if (!need(i, 1))
                return std::nullopt;
            o.screenshot = QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(a, "--pick-class") || !std::strcmp(a, "--pick-teacher")) {
            if (!need(i, 1))
                return std::nullopt;
            int& target = a[7] == 'c' ? o.pickClass : o.pickTeacher;
            if (!number(argv[++i], &target) || target < 0) {
                *error = QStringLiteral("%1 needs an entry number from 0").arg(QString::fromLocal8Bit(a));
                return std::nullopt;
            }
        } else if (!std::strcmp(a, "--rclick")) {
            if (!need(i, 2))
                return std::nullopt;
            if (!number(argv[i + 1], &o.rclickWeekday) || !number(argv[i + 2], &o.rclickPeriod) ||
                o.rclickWeekday < 1 || o.rclickWeekday > 7 || o.rclickPeriod < 1) {
                *error = QStringLiteral("--rclick needs a weekday 1..7 and a period from 1");
                return std::nullopt;
            }
            i += 2;
        } else if (!std::strcmp(a, "--marks")) {
            o.marks = true;
        } else if (!std::strcmp(a, "--conflicts")) {
            o.conflicts = true;
        } else if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            o.help = true;
        } else if (a[0] == '-' && a[1] == '-') {
            *error = QStringLiteral("unknown option %1").arg(QString::fromLocal8Bit(a));
            return std::nullopt;
        }
        // Anything else is left to Qt (-platform, -style, ...).
    }
    if (!o.db.isEmpty() && !o.pg.isEmpty()) {
        *error = QStringLiteral("--db and --pg name two databases; give one");
        return std::nullopt;
    }
    return o;
}

#include "drive/driver.h"

#include "adjust/chain_offer.h"
#include "check/conflict_check.h"
#include "drive/command_line.h"
#include "drive/history_json.h"
#include "drive/state_json.h"
#include "control/timetable_watch.h"
#include "store/connection.h"
#include "store/control_error.h"
#include "store/value_text.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QEventLoop>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

namespace {

int intArg(const QStringList& args, int i)
{
    if (i >= args.size())
        throw ControlError(QStringLiteral("缺少参数 %1").arg(i + 1));
    bool ok = false;
    const int v = args[i].toInt(&ok);
    if (!ok)
        throw ControlError(QStringLiteral("参数不是整数：%1").arg(args[i]));
    return v;
}

QString textArg(const QStringList& args, int i)
{
    if (i >= args.size())
        throw ControlError(QStringLiteral("缺少参数 %1").arg(i + 1));
    return args[i];
}

// A grid named as the surface names it; the driver takes no other text.
Side gridSide(const QString& kind)
{
    if (kind != sideName(Side::Class) && kind != sideName(Side::Teacher))
        throw ControlError(QStringLiteral("未知的课表：%1（应为 班级 或 教师）").arg(kind));
    return sideOfKind(kind);
}

// Runs the event loop until a change of another desk has been shown on
// screen or the time is up; the sides shown afresh.
QJsonArray waitForChange(QX_MavoWin& control, int ms)
{
    QJsonArray sides;
    QEventLoop loop;
    QTimer::singleShot(std::max(ms, 0), &loop, &QEventLoop::quit);
    QObject::connect(&control.watch(), &TimetableWatch::changeShown, &loop, [&](bool classSide, bool teacherSide) {
        if (classSide)
            sides.append(sideName(Side::Class));
        if (teacherSide)
            sides.append(sideName(Side::Teacher));
        if (!sides.isEmpty())
            loop.quit();
    });
    loop.exec();
    return sides;
}

QJsonValue slotJson(const std::optional<Slot>& slot)
{
    if (!slot)
        return QJsonValue::Null;
    return QJsonArray{slot->weekday, slot->period};
}

QJsonArray chainsJson(const std::vector<Chain>& chains)
{
    QJsonArray out;
    for (const Chain& chain : chains) {
        QJsonArray moves;
        for (const ChainMove& m : chain.moves)
            moves.append(QJsonObject{{"lesson", m.lessonId.isEmpty() ? QJsonValue(QJsonValue::Null) : m.lessonId},
                                     {"plan", m.planId},
                                     {"from", slotJson(m.from)},
                                     {"to", slotJson(m.to)}});
        out.append(QJsonObject{{"moves", moves}});
    }
    return out;
}

} // namespace

// chains KIND D P KIND D P: the lesson in the first cell to the target cell;
// chains LIST ROW KIND D P: the new lesson of the plan item in that row.
ChainRequest Driver::chainRequest(const QStringList& args)
{
    Surface& s = control_.surface();
    ChainRequest request;
    int target = 3; // the target's KIND D P
    if (ListView* list = s.listByName(textArg(args, 0))) {
        const int row = intArg(args, 1);
        if (row < 0 || row >= static_cast<int>(list->ListItems.size()))
            throw ControlError(QStringLiteral("列表 %1 没有第 %2 项").arg(list->Name).arg(row));
        request.planId = list->ListItems[static_cast<size_t>(row)].Tag.section(u'\t', 0, 0);
        target = 2;
    } else {
        const Label& from = control_.cell(gridSide(textArg(args, 0)), intArg(args, 1), intArg(args, 2) - 1);
        if (from.Tag.isEmpty())
            throw ControlError(QStringLiteral("这一格没有课"));
        request.lessonId = from.Tag.section(u'\t', 0, 0);
    }
    request.side = gridSide(textArg(args, target));
    control_.cell(request.side, intArg(args, target + 1), intArg(args, target + 2) - 1);
    request.to = Slot{intArg(args, target + 1), intArg(args, target + 2)};
    return request;
}

Driver::Driver(QSqlDatabase db) : db_(std::move(db))
{
    control_.setPause([](double) {});
    control_.setConnectionSetup([](Connection& c) { c.setTraceEnabled(true); });
}

QJsonObject Driver::run(const QString& line)
{
    QElapsedTimer clock;
    clock.start();
    const CommandLine command = parseCommandLine(line);
    QJsonObject out{{"cmd", command.name}};
    try {
        if (control_.ConnectionLost() && command.name != "ini" && reopen())
            out.insert("reconnected", true);
        dispatch(command.name, command.args, command.rest, out);
        out.insert("ok", true);
    } catch (const std::exception& e) {
        out.remove("state");
        out.insert("error", describe(e));
    }
    if (timing_)
        out.insert("ms", static_cast<double>(clock.nsecsElapsed()) / 1e6);
    return out;
}

Driver::OwnConnections::~OwnConnections()
{
    for (const QString& name : names)
        QSqlDatabase::removeDatabase(name);
}

bool Driver::reopen()
{
    // The connection is the host's: the driver opens another with the same
    // parameters (Qt's driver keeps the subscriptions of a session that died
    // under it, so the old one is left as it is) and gives it to the
    // control. While the server is still away, the command fails with the
    // reason.
    static int reopened = 0;
    const QString name = QStringLiteral("%1-reopened-%2").arg(db_.connectionName()).arg(++reopened);
    QSqlDatabase fresh = QSqlDatabase::cloneDatabase(db_, name);
    if (!fresh.open()) {
        fresh = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        return false;
    }
    own_.names << name;
    db_ = fresh;
    control_.Reconnect(db_);
    return true;
}

void Driver::dispatch(const QString& name, const QStringList& args, const QString& rest, QJsonObject& out)
{
    Surface& s = control_.surface();
    if (name == "ini") {
        control_.QxIni(db_, textArg(args, 0), textArg(args, 1), textArg(args, 2), &host_,
                       static_cast<qint16>(intArg(args, 3)));
    } else if (name == "dump") {
        out.insert("state", dumpState(control_));
    } else if (name == "sql") {
        if (rest.trimmed().isEmpty())
            throw ControlError(QStringLiteral("sql 命令缺少要执行的语句"));
        QSqlQuery query(db_);
        if (!query.exec(rest)) {
            const QString reason = query.lastError().text().trimmed();
            throw DbError(reason.isEmpty() ? QStringLiteral("数据库没有执行这条语句") : reason);
        }
    } else if (name == "pick") {
        ComboBox* combo = s.comboByName(textArg(args, 0));
        if (!combo)
            throw ControlError(QStringLiteral("未知的选择框：%1").arg(args[0]));
        combo->setListIndex(intArg(args, 1));
    } else if (name == "jm") {
        s.txtJm.Text = args.join(u' ');
        int key = 13;
        control_.txtJmKeyPress(key);
    } else if (name == "check") {
        CheckBox* box = s.checkByName(textArg(args, 0));
        if (!box)
            throw ControlError(QStringLiteral("未知的复选框：%1").arg(args[0]));
        const int value = intArg(args, 1);
        if (value != 0 && value != 1)
            throw ControlError(QStringLiteral("复选框的值应为 0 或 1"));
        box->Value = value;
    } else if (name == "item") {
        ListView* list = s.listByName(textArg(args, 0));
        if (!list)
            throw ControlError(QStringLiteral("未知的列表：%1").arg(args[0]));
        const int row = intArg(args, 1);
        if (row < 0 || row >= static_cast<int>(list->ListItems.size()))
            throw ControlError(QStringLiteral("列表 %1 没有第 %2 项").arg(list->Name).arg(row));
        list->SelectedIndex = row;
        control_.planItemClick(*list, row);
    } else if (name == "helpclick") {
        control_.txtHelpClick();
    } else if (name == "rclick") {
        control_.cellClick(gridSide(textArg(args, 0)), intArg(args, 1), intArg(args, 2) - 1);
    } else if (name == "dragcell") {
        const Side from = gridSide(textArg(args, 0));
        const Side to = gridSide(textArg(args, 3));
        control_.cellDragOver(from, intArg(args, 1), intArg(args, 2) - 1);
        control_.cellDragOver(to, intArg(args, 4), intArg(args, 5) - 1);
        control_.cellDragDrop(to, intArg(args, 4), intArg(args, 5) - 1);
    } else if (name == "dragitem") {
        ListView* list = s.listByName(textArg(args, 0));
        if (!list)
            throw ControlError(QStringLiteral("未知的列表：%1").arg(args[0]));
        const int row = intArg(args, 1);
        if (row < 0 || row >= static_cast<int>(list->ListItems.size()))
            throw ControlError(QStringLiteral("列表 %1 没有第 %2 项").arg(list->Name).arg(row));
        const Side side = gridSide(textArg(args, 2));
        list->SelectedIndex = row;
        control_.cellDragOver(side, intArg(args, 3), intArg(args, 4) - 1);
        control_.cellDragDrop(side, intArg(args, 3), intArg(args, 4) - 1);
    } else if (name == "delete") {
        if (gridSide(textArg(args, 0)) == Side::Class)
            control_.cmdDelBjClick();
        else
            control_.cmdDeljsClick();
    } else if (name == "conflicts") {
        out.insert("conflicts", reportJson(checkTimetable(control_.state())));
    } else if (name == "undo") {
        control_.Undo();
    } else if (name == "redo") {
        control_.Redo();
    } else if (name == "dragstart") {
        // A drag held over its source until `drop`: a cell, or an entry of a plan list.
        if (ListView* list = s.listByName(textArg(args, 0))) {
            const int row = intArg(args, 1);
            if (row < 0 || row >= static_cast<int>(list->ListItems.size()))
                throw ControlError(QStringLiteral("列表 %1 没有第 %2 项").arg(list->Name).arg(row));
            list->SelectedIndex = row;
            control_.dragStart();
        } else {
            const Side side = gridSide(textArg(args, 0));
            control_.cell(side, intArg(args, 1), intArg(args, 2) - 1);
            control_.dragStart();
            control_.cellDragOver(side, intArg(args, 1), intArg(args, 2) - 1);
        }
    } else if (name == "drop") {
        const Side side = gridSide(textArg(args, 0));
        control_.cell(side, intArg(args, 1), intArg(args, 2) - 1);
        control_.cellDragOver(side, intArg(args, 1), intArg(args, 2) - 1);
        control_.cellDragDrop(side, intArg(args, 1), intArg(args, 2) - 1);
        control_.dragEnd();
    } else if (name == "wait") {
        out.insert("refreshed", waitForChange(control_, intArg(args, 0)));
    } else if (name == "live") {
        const int value = intArg(args, 0);
        if (value != 0 && value != 1)
            throw ControlError(QStringLiteral("live 的值应为 0 或 1"));
        control_.SetLiveRefresh(value == 1);
    } else if (name == "desk") {
        control_.SetDeskName(rest);
    } else if (name == "chains") {
        out.insert("chains", chainsJson(FindChains(control_.state(), control_.chainOffer(), chainRequest(args))));
    } else if (name == "applychain") {
        const std::vector<Chain>& chains = control_.chainOffer().chains;
        const int k = intArg(args, 0);
        if (k < 0 || k >= static_cast<int>(chains.size()))
            throw ControlError(QStringLiteral("没有第 %1 个调课方案").arg(k));
        const Chain chain = chains[static_cast<size_t>(k)];
        ApplyChain(control_.state(), control_.chainOffer(), chain);
    } else if (name == "history") {
        out.insert("history",
                   historyJson(control_.changeLog().recent(joinText(control_.session().XnId), intArg(args, 0))));
    } else {
        throw ControlError(QStringLiteral("未知的命令：%1").arg(name));
    }
}

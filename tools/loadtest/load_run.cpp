#include "load_run.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QProcess>
#include <QTimer>
#include <cstdio>

namespace {

// "KIND D P" of the class grid.
QString cellText(const DeskView::Cell& cell) { return QStringLiteral("班级 %1 %2").arg(cell.first).arg(cell.second); }

template <typename T> const T& pick(const std::vector<T>& from, std::mt19937_64& random)
{
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
}

} // namespace

LoadRun::LoadRun(LoadOptions options) : options_(std::move(options)) {}

LoadRun::~LoadRun() = default;

LoadResults LoadRun::run()
{
    desks_.resize(static_cast<size_t>(options_.desks));
    clock_.start();
    endAt_ = static_cast<qint64>(options_.seconds * 1000);
    QEventLoop loop;
    connect(this, &LoadRun::allDone, &loop, &QEventLoop::quit);
    for (size_t i = 0; i < desks_.size(); ++i) {
        Desk& desk = desks_[i];
        desk.index = static_cast<int>(i);
        desk.random.seed(options_.seed * 1000 + i);
        desk.process = std::make_unique<DeskProcess>(options_.drive, options_.database + QStringList{"--timing"});
        desk.process->setObserver([this, &desk](const QJsonObject& a, double) { answered(desk, a); });
        ++running_;
        startDesk(desk);
    }
    results_.backAfter.assign(desks_.size(), -1);
    if (options_.restartAt > 0)
        QTimer::singleShot(static_cast<int>(options_.restartAt * 1000), this, &LoadRun::restartServer);
    if (running_ > 0)
        loop.exec();
    results_.elapsedSeconds = static_cast<double>(now()) / 1000.0;
    for (const Desk& desk : desks_)
        results_.unresolved += desk.awaited.has_value();
    for (Desk& desk : desks_) {
        results_.driverCpuSeconds += desk.process->cpuSeconds();
        if (!desk.process->finish() || desk.process->died())
            results_.deaths << QStringLiteral("desk %1: %2").arg(desk.index).arg(desk.process->diedHow());
    }
    return results_;
}

void LoadRun::restartServer()
{
    auto shell = [](const QString& command) {
        const int code = QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), command});
        if (code != 0)
            std::fprintf(stderr, "kbtz-loadtest: \"%s\" failed (%d)\n", qPrintable(command), code);
    };
    std::printf("server stopped at %.1f s\n", static_cast<double>(now()) / 1000.0);
    shell(options_.stopCommand);
    QTimer::singleShot(static_cast<int>(options_.downSeconds * 1000), this, [this, shell] {
        shell(options_.startCommand);
        results_.serverBackAt = now();
        std::printf("server back at %.1f s\n", static_cast<double>(now()) / 1000.0);
        std::fflush(stdout);
    });
    std::fflush(stdout);
}

void LoadRun::answered(const Desk& desk, const QJsonObject& answer)
{
    if (results_.serverBackAt < 0)
        return;
    double& back = results_.backAfter[static_cast<size_t>(desk.index)];
    if (back < 0 && answer.value(u"reconnected").toBool())
        back = static_cast<double>(now() - results_.serverBackAt);
    else if (back >= 0 && answer.contains(u"error"))
        ++results_.errorsAfterBack;
}

void LoadRun::deskDone(Desk& desk)
{
    desk.done = true;
    if (--running_ == 0)
        emit allDone();
}

void LoadRun::commandFailed(const Desk& desk, const QString& line, const QJsonObject& answer)
{
    ++results_.errors;
    if (results_.errorTexts.size() < 5)
        results_.errorTexts
            << QStringLiteral("desk %1, %2: %3").arg(desk.index).arg(line, answer.value(u"error").toString());
}

void LoadRun::startDesk(Desk& desk)
{
    desk.classIndex = wantedClass(desk);
    QStringList lines{QStringLiteral("ini 2005-2006 2 课表 1"),
                      QStringLiteral("desk desk%1").arg(desk.index, 2, 10, QLatin1Char('0')),
                      QStringLiteral("pick cmbBj %1").arg(desk.classIndex)};
    if (!options_.liveRefresh)
        lines << QStringLiteral("live 0");
    sendInTurn(desk, lines, [this, &desk] {
        dumpThen(desk, [this, &desk](DeskView view) {
            desk.view = std::move(view);
            desk.nextAt = now();
            schedule(desk);
        });
    });
}

void LoadRun::sendInTurn(Desk& desk, QStringList lines, std::function<void()> then)
{
    if (lines.isEmpty()) {
        then();
        return;
    }
    const QString line = lines.takeFirst();
    desk.process->send(line, [this, &desk, line, lines, then](const QJsonObject& a, double) {
        if (a.contains(u"error")) {
            commandFailed(desk, line, a);
            results_.deaths << QStringLiteral("desk %1 could not start").arg(desk.index);
            deskDone(desk);
            return;
        }
        sendInTurn(desk, lines, then);
    });
}

int LoadRun::wantedClass(const Desk& desk) const
{
    const int epoch = static_cast<int>(static_cast<double>(now()) / (options_.switchSeconds * 1000));
    const int pair = desk.index / 2;
    // Pairs spread over the classes, each epoch elsewhere.
    return static_cast<int>(
        (static_cast<quint64>(pair) * 7919u + static_cast<quint64>(epoch) * 104729u + options_.seed) %
        static_cast<quint64>(std::max(options_.classes, 1)));
}

LoadRun::Desk* LoadRun::partnerOf(const Desk& desk)
{
    const size_t other = static_cast<size_t>(desk.index ^ 1);
    return other < desks_.size() ? &desks_[other] : nullptr;
}

void LoadRun::dumpThen(Desk& desk, std::function<void(DeskView)> then)
{
    desk.process->send(QStringLiteral("dump"), [this, &desk, then](const QJsonObject& a, double) {
        if (a.contains(u"error")) {
            commandFailed(desk, QStringLiteral("dump"), a);
            deskDone(desk);
            return;
        }
        then(DeskView::of(a.value(u"state").toObject()));
    });
}

void LoadRun::schedule(Desk& desk)
{
    if (now() >= endAt_) {
        deskDone(desk);
        return;
    }
    const qint64 remaining = desk.nextAt - now();
    if (remaining <= 0) {
        act(desk);
        return;
    }
    desk.process->send(QStringLiteral("wait %1").arg(remaining), [this, &desk](const QJsonObject& a, double) {
        if (a.contains(u"error")) {
            commandFailed(desk, QStringLiteral("wait"), a);
            deskDone(desk);
            return;
        }
        const QJsonArray refreshed = a.value(u"refreshed").toArray();
        if (!refreshed.isEmpty()) {
            desk.stale = true;
            if (refreshed.contains(QStringLiteral("班级")))
                desk.unread.push_back(now());
        }
        schedule(desk);
    });
}

qint64 LoadRun::shownAt(const Desk& desk, const Observation& observation)
{
    for (const auto& [cell, tag] : observation.cells) {
        const auto it = desk.view.classGrid.find(cell);
        if (it == desk.view.classGrid.end() || it->second.tag != tag)
            return -1;
    }
    for (qint64 at : desk.shownBy)
        if (at >= observation.since)
            return at;
    return -1;
}

void LoadRun::lookForAwaited(Desk& desk)
{
    if (!desk.awaited)
        return;
    if (const qint64 at = shownAt(desk, *desk.awaited); at >= 0) {
        results_.seen.push_back(static_cast<double>(at - desk.awaited->since));
        desk.awaited.reset();
    } else if (now() - desk.awaited->since > kSeenTimeoutMs) {
        ++results_.missed;
        desk.awaited.reset();
    }
}

void LoadRun::await(Desk& partner, Observation observation)
{
    if (partner.awaited)
        ++results_.superseded;
    partner.awaited = std::move(observation);
    // The partner may have been refreshed and looked while this desk's own view was still being read.
    lookForAwaited(partner);
}

LoadRun::Action LoadRun::choose(Desk& desk)
{
    std::mt19937_64& r = desk.random;
    const DeskView& v = desk.view;
    const int wanted = wantedClass(desk);
    if (wanted != desk.classIndex) {
        desk.classIndex = wanted;
        desk.dropItem = false;
        if (desk.awaited) {
            ++results_.superseded;
            desk.awaited.reset();
        }
        return {QStringLiteral("choose class"), QStringLiteral("pick cmbBj %1").arg(wanted)};
    }
    std::uniform_real_distribution<double> unit(0, 1);

    // The follow-up of a plan item's analysis: drop it on a free cell it may
    // go to. The entry's row is the list's selection: a refresh may have
    // filled the list again since the click.
    const int itemRow = v.classPlanSelected;
    if (std::exchange(desk.dropItem, false) && itemRow >= 0) {
        std::vector<DeskView::Cell> free;
        for (const DeskView::Cell& cell : v.targets())
            if (v.classGrid.at(cell).tag.isEmpty())
                free.push_back(cell);
        if (!free.empty() && unit(r) < 0.9)
            return {QStringLiteral("drop new lesson"),
                    QStringLiteral("dragitem lstBj %1 %2").arg(itemRow).arg(cellText(pick(free, r))), true};
    }

    // The follow-up of a lesson's analysis: move it, or remove it.
    if (const std::optional<DeskView::Cell> analysed = v.analysed()) {
        std::vector<DeskView::Cell> targets;
        for (const DeskView::Cell& cell : v.targets())
            if (cell != *analysed)
                targets.push_back(cell);
        const double u = unit(r);
        if (!targets.empty() && u < 0.75) {
            const DeskView::Cell& to = pick(targets, r);
            const bool exchange = !v.classGrid.at(to).tag.isEmpty();
            return {exchange ? QStringLiteral("exchange") : QStringLiteral("move"),
                    QStringLiteral("dragcell %1 %2").arg(cellText(*analysed), cellText(to)), true};
        }
        if (u < 0.83)
            return {QStringLiteral("removal"), QStringLiteral("delete 班级"), true};
    }

    std::vector<int> items;
    for (size_t i = 0; i < v.classPlan.size(); ++i)
        if (v.classPlan[i].hoursLeft > 0)
            items.push_back(static_cast<int>(i));
    const std::vector<DeskView::Cell> lessons = v.lessons();
    const double u = unit(r);
    if (v.canUndo && u < 0.12)
        return {QStringLiteral("undo"), QStringLiteral("undo"), true};
    if (v.canRedo && u < 0.18)
        return {QStringLiteral("redo"), QStringLiteral("redo"), true};
    if (!items.empty() && u < 0.40) {
        desk.dropItem = true;
        return {QStringLiteral("plan-item click"), QStringLiteral("item lstBj %1").arg(pick(items, r))};
    }
    if (!lessons.empty())
        return {QStringLiteral("lesson click"), QStringLiteral("rclick %1").arg(cellText(pick(lessons, r)))};
    return {QStringLiteral("choose class"), QStringLiteral("pick cmbBj %1").arg(desk.classIndex)};
}

void LoadRun::act(Desk& desk)
{
    if (desk.stale) {
        // What live refresh brought: the user looks before acting.
        dumpThen(desk, [this, &desk](DeskView view) {
            desk.view = std::move(view);
            desk.shownBy = std::exchange(desk.unread, {});
            desk.stale = false;
            lookForAwaited(desk);
            act(desk);
        });
        return;
    }
    const Action action = choose(desk);
    const qint64 startedAt = now();
    desk.process->send(action.line, [this, &desk, action, startedAt](const QJsonObject& a, double ms) {
        if (a.contains(u"error")) {
            commandFailed(desk, action.line, a);
            if (desk.process->died()) {
                deskDone(desk);
                return;
            }
        } else {
            results_.interactions[action.kind].push_back(a.value(u"ms").toDouble(ms));
            results_.roundTrips[action.kind].push_back(ms);
        }
        dumpThen(desk, [this, &desk, action, startedAt](DeskView view) {
            if (view.refused())
                ++results_.refused;
            else if (!view.messages.isEmpty())
                ++results_.failed;
            else if (action.edit) {
                const std::map<DeskView::Cell, QString> changed = view.changedSince(desk.view);
                // What this desk waited for is changed again by its own hand.
                if (desk.awaited) {
                    ++results_.superseded;
                    desk.awaited.reset();
                }
                Desk* partner = partnerOf(desk);
                if (!changed.empty() && partner && !partner->done && partner->classIndex == desk.classIndex)
                    await(*partner, Observation{changed, startedAt});
            }
            desk.view = std::move(view);
            desk.shownBy.clear();
            lookForAwaited(desk);
            const double period = 1000.0 / options_.actionsPerSecond;
            desk.nextAt += static_cast<qint64>(period * std::uniform_real_distribution<double>(0.7, 1.3)(desk.random));
            // A desk that fell behind does not try to catch up in a burst.
            desk.nextAt = std::max(desk.nextAt, now());
            schedule(desk);
        });
    });
}

#pragma once

#include "desk_process.h"
#include "desk_view.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <vector>

struct LoadOptions {
    QString drive;        // the kbtz-drive program
    QStringList database; // its database arguments: --pg CONNINFO or --db FILE
    int desks = 20;
    double seconds = 60;
    double actionsPerSecond = 2; // per desk
    double switchSeconds = 20;   // the pairs move on to other classes this often
    int classes = 1;             // entries of the class selector
    bool liveRefresh = true;     // off: what live refresh costs the interactions, by comparison
    quint64 seed = 1;
    // A server restart in the middle of the run: at restartAt seconds the
    // stop command runs, downSeconds later the start command (shell
    // commands); 0: no restart.
    double restartAt = 0;
    double downSeconds = 5;
    QString stopCommand, startCommand;
};

// What the desks saw.
struct LoadResults {
    std::map<QString, std::vector<double>> interactions; // ms per command inside its desk, by kind
    std::map<QString, std::vector<double>> roundTrips;   // the same from here: with the pipes and the scheduling
    std::vector<double> seen; // ms from an edit's command until the other desk of its class showed it
    int superseded = 0;       // a change the other desk changed again before it showed it
    int missed = 0;           // shown not within kSeenTimeoutMs, or never
    int unresolved = 0;       // awaited when the run ended
    int refused = 0;          // edits refused because the timetable had changed
    int failed = 0;           // other message boxes
    int errors = 0;           // commands the driver answered with an error
    QStringList errorTexts;   // the first few of them
    QStringList deaths;       // desks whose driver crashed or ended
    // The restart: when the server was back (ms into the run, -1: no
    // restart), and for each desk how long after that its driver had
    // reconnected (the answer of its first command after the server came
    // back that reopened the connection); -1 for a desk that never did.
    qint64 serverBackAt = -1;
    std::vector<double> backAfter;
    int errorsAfterBack = 0; // commands answered with an error once their desk was back
    double driverCpuSeconds = 0;
    double elapsedSeconds = 0;
};

// N desks (kbtz-drive processes) on one timetable, in pairs: both desks of a
// pair show the same class (all pairs move on to other classes now and
// then). Each desk acts about actionsPerSecond times a second at random:
// analyses a lesson or a plan item, moves or exchanges the analysed lesson,
// drops a plan item, removes a lesson, undoes or redoes; between its actions
// it waits for changes of other desks (`wait`). When a desk's edit changes
// its class's week, the time until the pair's other desk shows the same
// cells is measured, through `wait` and `dump` on that desk.
class LoadRun : public QObject {
    Q_OBJECT

public:
    static constexpr int kSeenTimeoutMs = 5000;

    explicit LoadRun(LoadOptions options);
    ~LoadRun() override;

    // Runs the desks to the end of the time and returns what they saw.
    LoadResults run();

signals:
    void allDone();

private:
    struct Observation {
        std::map<DeskView::Cell, QString> cells;
        qint64 since = 0;
    };
    struct Desk {
        int index = 0;
        std::unique_ptr<DeskProcess> process;
        DeskView view;
        // Live refreshes of the class grid, by when `wait` reported them:
        // those `view` was read after, and those since, not read yet. The
        // view is read again only before the desk's next action, as its
        // user would look at it then, so that reading it does not load the
        // machine more than the desk's work does.
        std::vector<qint64> shownBy, unread;
        bool stale = false; // a refresh of either grid since the view was read
        int classIndex = -1;
        bool dropItem = false; // a plan item was clicked: drop it next
        qint64 nextAt = 0;
        bool done = false;
        std::optional<Observation> awaited; // a change of the partner's to show
        std::mt19937_64 random;
    };
    struct Action {
        QString kind, line;
        bool edit = false;
    };

    void startDesk(Desk& desk);
    // Sends the lines one after the other, then goes on; a failure ends the desk.
    void sendInTurn(Desk& desk, QStringList lines, std::function<void()> then);
    void schedule(Desk& desk);
    void act(Desk& desk);
    void dumpThen(Desk& desk, std::function<void(DeskView)> then);
    // After the desk's view was read: whether it now shows what it awaits,
    // through a live refresh; an awaited change that has not come in time
    // is missed.
    void lookForAwaited(Desk& desk);
    // A partner's change to await, unless the partner's view already shows it.
    void await(Desk& partner, Observation observation);
    // When a live refresh since the observed change brought it into the view; -1 when none did.
    static qint64 shownAt(const Desk& desk, const Observation& observation);
    Action choose(Desk& desk);
    int wantedClass(const Desk& desk) const;
    Desk* partnerOf(const Desk& desk);
    qint64 now() const { return clock_.elapsed(); }
    void deskDone(Desk& desk);
    void commandFailed(const Desk& desk, const QString& line, const QJsonObject& answer);
    // Every answer of a desk: notes its reconnection after the restart.
    void answered(const Desk& desk, const QJsonObject& answer);
    void restartServer();

    LoadOptions options_;
    std::vector<Desk> desks_;
    LoadResults results_;
    QElapsedTimer clock_;
    qint64 endAt_ = 0;
    int running_ = 0;
};

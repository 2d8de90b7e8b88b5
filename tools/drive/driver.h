#pragma once

#include "adjust/chain_search.h"
#include "qxmavowin/host_window.h"
#include "control/qx_mavowin.h"

#include <QJsonObject>
#include <QSqlDatabase>

// Runs one control headless on an open database, one command line at a
// time, and answers each with one JSON object. The driver is the control's
// host window; animations take no time and message boxes are answered at once.
class Driver {
public:
    explicit Driver(QSqlDatabase db);

    QJsonObject run(const QString& line);

    QX_MavoWin& control() { return control_; }
    HostWindow& host() { return host_; }
    QSqlDatabase database() const { return db_; }

    // Adds "ms", the time the command took inside the driver, to every
    // answer (--timing): what a user of the control waits for, without the
    // pipe and the scheduling of whoever reads the answers.
    void setTiming(bool on) { timing_ = on; }

private:
    // After the control lost its connection: opens it again; false while the
    // database cannot be opened.
    bool reopen();
    void dispatch(const QString& name, const QStringList& args, const QString& rest, QJsonObject& out);
    ChainRequest chainRequest(const QStringList& args);

    // The connections reopen() made: closed and removed once the control and
    // db_ have let go of them (members are destroyed in reverse order).
    struct OwnConnections {
        QStringList names;
        ~OwnConnections();
    } own_;
    QSqlDatabase db_;
    bool timing_ = false;
    HostWindow host_;
    QX_MavoWin control_;
};

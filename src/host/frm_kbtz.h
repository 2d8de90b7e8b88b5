#pragma once

#include "qxmavowin/qxmavowin_widget.h"

#include <QSqlDatabase>
#include <QWidget>

class ChainsPanel;
class ConflictsPanel;
class QLabel;
class HistoryPanel;
class QSplitter;

// The test host: one window holding the control C, which it starts on the
// timetable "2005-2006", term "2", "课表" of its own database, its menus
// (文件: print and export; 检查: the conflict check) and the conflicts panel.
class FrmKbTz : public QWidget, public WidgetHostWindow {
    Q_OBJECT

public:
    explicit FrmKbTz(QWidget* parent = nullptr);

    QxMavoWinWidget* C() const { return c_; }
    ConflictsPanel* conflicts() const { return conflicts_; }
    // The recent changes of the timetable, beside the control.
    HistoryPanel* history() const { return history_; }
    // 调课方案: the chains offered for the last drop on a blocked cell.
    ChainsPanel* chains() const { return chains_; }

    // What a host must do: call QxIni once, late-bound by its member id, with
    // the open database and this window. Throws what QxIni throws.
    void load(const QSqlDatabase& db);
    // The same on another timetable of the database (one just imported).
    void load(const QSqlDatabase& db, const QString& schoolYear, const QString& term, const QString& name);

    // While the connection is lost: the note "正在重新连接数据库…" shows, and
    // the database is opened again after kFirstRetryMs, then after twice as
    // long each time, up to kLastRetryMs, until it opens.
    static constexpr int kFirstRetryMs = 500;
    static constexpr int kLastRetryMs = 8000;
    bool reconnecting() const { return reconnecting_; }

    // The control at its design size beside the panels.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void connectionLost();
    void tryReconnect();

    QSqlDatabase db_;
    QString connectionName_; // the first connection's, which the reopened ones extend
    bool reconnecting_ = false;
    int retryMs_ = kFirstRetryMs;
    QLabel* reconnectNote_;
    QxMavoWinWidget* c_;
    QSplitter* split_;
    ConflictsPanel* conflicts_;
    HistoryPanel* history_;
    ChainsPanel* chains_;
};

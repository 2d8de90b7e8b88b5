#pragma once

#include "qxmavowin/qxmavowin_widget.h"

#include <QSqlDatabase>
#include <QWidget>

class ChainsPanel;
class ConflictsPanel;
class HistoryPanel;

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

private:
    QxMavoWinWidget* c_;
    ConflictsPanel* conflicts_;
    HistoryPanel* history_;
    ChainsPanel* chains_;
};

#include "host/frm_kbtz.h"

#include "host/conflicts_panel.h"
#include "host/file_menu.h"
#include "host/history_panel.h"

#include <algorithm>

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

FrmKbTz::FrmKbTz(QWidget* parent) : QWidget(parent), WidgetHostWindow(this)
{
    setObjectName(QStringLiteral("frmKbTz"));
    setWindowTitle(QStringLiteral("课表调整（点击鼠标右键，系统将会分析出可用于调整的位置，并可分析出另一测课表；"
                                  "按住左键托动要进行调整的课表到目标处放下，完成调整。）"));
    c_ = new QxMavoWinWidget(this);
    c_->setObjectName(QStringLiteral("C"));
    history_ = new HistoryPanel(*c_, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The control fills the window, however large the user makes it; the
    // panels stand to its right.
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    row->addWidget(c_, 1);
    auto* panels = new QVBoxLayout;
    row->addLayout(panels);
    conflicts_ = new ConflictsPanel(*c_, this);
    panels->addWidget(conflicts_);
    panels->addWidget(history_, 1);

    auto* menus = new QMenuBar(this);
    addFileMenu(*menus, *this);
    QMenu* edit = menus->addMenu(QStringLiteral("编辑(&E)"));
    edit->addAction(c_->undoAction());
    edit->addAction(c_->redoAction());
    addCheckMenu(*menus, *conflicts_);
    layout->setMenuBar(menus);

    reconnectNote_ = new QLabel(QStringLiteral("正在重新连接数据库…"), this);
    reconnectNote_->setObjectName(QStringLiteral("reconnectNote"));
    reconnectNote_->hide();
    layout->addWidget(reconnectNote_);
    connect(c_, &QxMavoWinWidget::connectionLost, this, &FrmKbTz::connectionLost);
}

void FrmKbTz::connectionLost()
{
    if (reconnecting_)
        return; // the retries already under way go on
    reconnecting_ = true;
    retryMs_ = kFirstRetryMs;
    reconnectNote_->show();
    QTimer::singleShot(retryMs_, this, &FrmKbTz::tryReconnect);
}

void FrmKbTz::tryReconnect()
{
    // Another connection with the parameters of the first (Qt's driver keeps
    // the subscriptions of a session that died under it, so the old one is
    // left as it is).
    static int reopened = 0;
    const QString name = QStringLiteral("%1-reopened-%2").arg(connectionName_).arg(++reopened);
    QSqlDatabase fresh = QSqlDatabase::cloneDatabase(db_, name);
    if (!fresh.open()) {
        fresh = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    } else {
        db_ = fresh;
        try {
            c_->reconnect(db_);
            reconnecting_ = false;
            reconnectNote_->hide();
            history_->reload();
            return;
        } catch (const std::exception&) {
            // Gone again at once: the next try comes later.
        }
    }
    retryMs_ = std::min(retryMs_ * 2, kLastRetryMs);
    QTimer::singleShot(retryMs_, this, &FrmKbTz::tryReconnect);
}

void FrmKbTz::load(const QSqlDatabase& db)
{
    load(db, QStringLiteral("2005-2006"), QString::number(2), QStringLiteral("课表"));
}

void FrmKbTz::load(const QSqlDatabase& db, const QString& schoolYear, const QString& term, const QString& name)
{
    db_ = db;
    connectionName_ = db.connectionName();
    c_->invoke(QxMavoWinWidget::DispIdQxIni, {QVariant::fromValue(db), schoolYear, term, name,
                                              QVariant::fromValue(static_cast<HostWindow*>(this)), 1});
    history_->reload();
}

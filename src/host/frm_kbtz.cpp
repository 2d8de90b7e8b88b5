#include "host/frm_kbtz.h"

#include "host/chains_panel.h"
#include "host/conflicts_panel.h"
#include "host/file_menu.h"
#include "host/history_panel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

FrmKbTz::FrmKbTz(QWidget* parent) : QWidget(parent), WidgetHostWindow(this)
{
    setObjectName(QStringLiteral("frmKbTz"));
    setWindowTitle(QStringLiteral("课表调整（点击鼠标右键，系统将会分析出可用于调整的位置，并可分析出另一测课表；"
                                  "按住左键托动要进行调整的课表到目标处放下，完成调整。）"));
    c_ = new QxMavoWinWidget(this);
    c_->setObjectName(QStringLiteral("C"));
    history_ = new HistoryPanel(*c_, this);
    conflicts_ = new ConflictsPanel(*c_, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The control takes what the window has and the panels stand to its
    // right; a splitter gives the user the say, and the panels fold away
    // when dragged shut, so that the grids fit a small screen.
    auto* panels = new QSplitter(Qt::Vertical, this);
    panels->setObjectName(QStringLiteral("panels"));
    panels->addWidget(conflicts_);
    chains_ = new ChainsPanel(*c_, this);
    panels->addWidget(chains_);
    panels->addWidget(history_);
    panels->setStretchFactor(2, 1);
    split_ = new QSplitter(Qt::Horizontal, this);
    split_->setObjectName(QStringLiteral("split"));
    split_->addWidget(c_);
    split_->addWidget(panels);
    split_->setCollapsible(0, false);
    split_->setStretchFactor(0, 1);
    layout->addWidget(split_);

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

QSize FrmKbTz::sizeHint() const
{
    // The splitter's own hint leaves its handle out, which the control would pay for.
    const QSize laidOut = QWidget::sizeHint();
    return {laidOut.width() + split_->handleWidth(), laidOut.height()};
}

void FrmKbTz::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The control keeps its proportions: width it cannot fill at this height
    // goes to the panels rather than standing empty between them. Once the
    // layout has given the control its new size.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const QList<int> sizes = split_->sizes();
            const int used = c_->usedWidth();
            if (sizes.size() == 2 && sizes[1] > 0 && sizes[0] > used)
                split_->setSizes({used, sizes[0] + sizes[1] - used});
        },
        Qt::QueuedConnection);
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

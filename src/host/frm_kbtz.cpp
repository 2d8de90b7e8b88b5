#include "host/frm_kbtz.h"

#include "host/chains_panel.h"
#include "host/conflicts_panel.h"
#include "host/file_menu.h"
#include "host/history_panel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenuBar>
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
    chains_ = new ChainsPanel(*c_, this);
    panels->addWidget(chains_);
    panels->addWidget(history_, 1);

    auto* menus = new QMenuBar(this);
    addFileMenu(*menus, *this);
    QMenu* edit = menus->addMenu(QStringLiteral("编辑(&E)"));
    edit->addAction(c_->undoAction());
    edit->addAction(c_->redoAction());
    addCheckMenu(*menus, *conflicts_);
    layout->setMenuBar(menus);
}

void FrmKbTz::load(const QSqlDatabase& db)
{
    c_->invoke(QxMavoWinWidget::DispIdQxIni,
               {QVariant::fromValue(db), QStringLiteral("2005-2006"), QString::number(2), QStringLiteral("课表"),
                QVariant::fromValue(static_cast<HostWindow*>(this)), 1});
    history_->reload();
}

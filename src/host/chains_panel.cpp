#include "host/chains_panel.h"

#include "adjust/chain_offer.h"
#include "control/qx_mavowin.h"
#include "qxmavowin/qxmavowin_widget.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

ChainsPanel::ChainsPanel(QxMavoWinWidget& control, QWidget* parent)
    : QWidget(parent), control_(control), tree_(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("chainsPanel"));
    tree_->setObjectName(QStringLiteral("chainEntries"));
    tree_->setHeaderLabels({QStringLiteral("方案"), QStringLiteral("调整")});
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->setToolTip(QStringLiteral("双击一个方案：按它调整"));
    auto* box = new QGroupBox(QStringLiteral("调课方案"), this);
    auto* inBox = new QVBoxLayout(box);
    inBox->addWidget(tree_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    connect(&control_, &QxMavoWinWidget::chainsOffered, this, &ChainsPanel::reload);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { entryChosen(item); });
}

void ChainsPanel::reload()
{
    tree_->clear();
    QX_MavoWin& c = control_.control();
    const ChainOffer& offer = c.chainOffer();
    if (!offer.previewing)
        return;
    for (size_t k = 0; k < offer.chains.size(); ++k) {
        const QStringList moves = ChainMoveTexts(c.state(), offer.chains[k]);
        auto* chain = new QTreeWidgetItem(tree_, {QStringLiteral("%1").arg(k + 1),
                                                  QStringLiteral("%1 节：%2").arg(moves.size()).arg(moves.join("；"))});
        chain->setData(0, Qt::UserRole, static_cast<int>(k));
        for (const QString& move : moves) {
            auto* step = new QTreeWidgetItem(chain, {QString(), move});
            step->setData(0, Qt::UserRole, static_cast<int>(k));
        }
    }
    if (QTreeWidgetItem* best = tree_->topLevelItem(0))
        best->setExpanded(true);
}

void ChainsPanel::entryChosen(QTreeWidgetItem* item)
{
    if (!item)
        return;
    // After the double click is over: applying it lists the chains anew.
    const int k = item->data(0, Qt::UserRole).toInt();
    QMetaObject::invokeMethod(
        this, [this, k] { control_.applyChain(k); }, Qt::QueuedConnection);
}

#pragma once

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;
class QxMavoWinWidget;

// 调课方案: the chains of moves the control offers for the last drop on a
// blocked cell, best first, each with its moves. A double click on a chain
// (or one of its moves) applies that chain, as 执行 applies the best.
class ChainsPanel : public QWidget {
    Q_OBJECT

public:
    ChainsPanel(QxMavoWinWidget& control, QWidget* parent = nullptr);

    // Lists the chains on offer again; none when nothing is offered.
    void reload();
    QTreeWidget* entries() const { return tree_; }

private:
    void entryChosen(QTreeWidgetItem* item);

    QxMavoWinWidget& control_;
    QTreeWidget* tree_;
};

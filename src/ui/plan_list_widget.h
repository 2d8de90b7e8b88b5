#pragma once

#include "state/controls.h"
#include "ui/event_sink.h"
#include "ui/twips.h"

#include <QPoint>
#include <QTreeWidget>

namespace qxui {

// A plan list in report layout.
class PlanListWidget : public QTreeWidget {
public:
    PlanListWidget(QWidget* parent, EventSink& sink, ListView& list);

    ListView& list() { return list_; }
    void refresh(const TwipScale& scale);
    // As FrameBox::setExtraHeight: more rows show in a tall window.
    void setExtraHeight(double twips) { extraHeight_ = twips; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void writeColumns();
    void writeRows();
    void fitColumns();
    void fillItem(QTreeWidgetItem& item, const ListItem& entry) const;

    EventSink& sink_;
    ListView& list_;
    unsigned rowsShown_ = ~0u; // the rows revision the view shows
    double extraHeight_ = 0;
    QPoint pressAt_;
    int pressRow_ = -1;
    bool dragging_ = false;
};

} // namespace qxui

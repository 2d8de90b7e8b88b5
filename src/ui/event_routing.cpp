// The widgets' reports of what the user did, passed on to the control's
// handlers: clicks, drags and drops of cells and plan entries.
#include "ui/cell_widget.h"
#include "ui/drag_mime.h"
#include "ui/plan_list_widget.h"
#include "ui/widget_private.h"

#include <QDrag>
#include <QMimeData>

using namespace qxui;

void QxMavoWinWidget::Private::startDrag(QWidget* source)
{
    auto* drag = new QDrag(source);
    auto* mime = new QMimeData;
    mime->setData(kDragMimeType, QByteArray());
    drag->setMimeData(mime);
    control.dragStart();
    drag->exec(Qt::MoveAction);
    // After the drop, which is queued when the toolkit's drag ends.
    QMetaObject::invokeMethod(
        q, [this] { control.dragEnd(); }, Qt::QueuedConnection);
}

void QxMavoWinWidget::Private::cellRightClicked(const CellWidget& cell)
{
    run([&] { control.cellClick(cell.side(), cell.weekday(), cell.index()); });
}

void QxMavoWinWidget::Private::cellDragStarted(CellWidget& cell)
{
    if (handlerDepth > 0)
        return;
    // The first drag-over of a drag is reported for the cell it began on.
    run([&] { control.cellDragOver(cell.side(), cell.weekday(), cell.index()); });
    startDrag(&cell);
}

void QxMavoWinWidget::Private::cellDragEntered(const CellWidget& cell)
{
    run([&] { control.cellDragOver(cell.side(), cell.weekday(), cell.index()); });
}

void QxMavoWinWidget::Private::cellDropped(const CellWidget& cell)
{
    // The drop animates and processes window events; it runs once the
    // toolkit's drag has ended rather than inside its event loop.
    const Side side = cell.side();
    const int weekday = cell.weekday();
    const int index = cell.index();
    QMetaObject::invokeMethod(
        q, [this, side, weekday, index] { run([&] { control.cellDragDrop(side, weekday, index); }); },
        Qt::QueuedConnection);
}

void QxMavoWinWidget::Private::planItemPressed(PlanListWidget& list, int row)
{
    if (!syncing && handlerDepth == 0)
        list.list().SelectedIndex = row;
}

bool QxMavoWinWidget::Private::clickPlanItem(PlanListWidget& list, int row)
{
    return run([&] {
        list.list().SelectedIndex = row;
        control.planItemClick(list.list(), row);
    });
}

void QxMavoWinWidget::Private::planItemClicked(PlanListWidget& list, int row) { clickPlanItem(list, row); }

void QxMavoWinWidget::Private::planDragStarted(PlanListWidget& list, int row)
{
    if (syncing || handlerDepth > 0)
        return;
    list.list().SelectedIndex = row;
    sync();
    startDrag(&list);
}

void QxMavoWinWidget::Private::helpClicked()
{
    run([&] { control.txtHelpClick(); });
}

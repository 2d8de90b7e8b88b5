// A lesson or plan entry carried with the keyboard: Enter picks it up, the
// arrows choose the target and Enter drops it there, through the same
// drag-over and drop as the mouse's.
#include "adjust/chain_offer.h"
#include "ui/cell_grid.h"
#include "ui/cell_widget.h"
#include "ui/plan_list_widget.h"
#include "ui/widget_private.h"

using namespace qxui;

void QxMavoWinWidget::Private::startCarry(Carry what)
{
    carry = what;
    if (carry.cell)
        carry.cell->setCarried(true);
    for (GridWidgets* g : {&classGrid, &teacherGrid})
        g->cellFrame->setCarrying(true);
}

void QxMavoWinWidget::Private::endCarry()
{
    if (!carry.active())
        return;
    if (carry.cell)
        carry.cell->setCarried(false);
    carry = {};
    for (GridWidgets* g : {&classGrid, &teacherGrid})
        g->cellFrame->setCarrying(false);
}

// The same drag-over and drop as the mouse's: the control judges the drop.
void QxMavoWinWidget::Private::dropCarried(CellWidget& target)
{
    run([&] {
        control.cellDragOver(target.side(), target.weekday(), target.index());
        control.cellDragDrop(target.side(), target.weekday(), target.index());
    });
}

bool QxMavoWinWidget::Private::cellKeyPressed(CellWidget& cell, CellKey key)
{
    switch (key) {
    case CellKey::Analyse: cellRightClicked(cell); return true;
    case CellKey::Enter:
        // Enter applies an offered chain, as 执行 does.
        if (!carry.active() && control.chainOffer().previewing) {
            run([&] { control.cmdChainClick(); });
            return true;
        }
        if (carry.active()) {
            dropCarried(cell);
        } else if (run([&] { control.cellDragOver(cell.side(), cell.weekday(), cell.index()); })) {
            // A drag of the mouse begins with the drag-over of its own cell.
            startCarry({&cell, nullptr});
        }
        return true;
    case CellKey::Escape:
        if (!carry.active() && control.chainOffer().previewing) {
            run([&] { control.chainEscape(); });
            return true;
        }
        if (!carry.active())
            return false;
        endCarry();
        return true;
    case CellKey::Delete:
        run([&] { cell.side() == Side::Class ? control.cmdDelBjClick() : control.cmdDeljsClick(); });
        return true;
    }
    return false;
}

void QxMavoWinWidget::Private::planItemEntered(PlanListWidget& list, int row)
{
    if (!clickPlanItem(list, row))
        return;
    // The entry is carried to the list's own grid, where the arrows choose
    // its cell.
    startCarry({nullptr, &list});
    gridOf(&list == lstBj ? Side::Class : Side::Teacher).cellFrame->setFocus(Qt::OtherFocusReason);
}

#include "adjust/placement.h"

#include "adjust/move_lesson.h"
#include "adjust/place_lesson.h"
#include "adjust/refused_drop.h"

#include "control/selected_ids.h"
#include "control/busy_state.h"
#include "control/colors.h"
#include "qxmavowin/host_window.h"
#include "control/qx_mavowin.h"
#include "control/tag.h"
#include "grid/paint_grid.h"
#include "plan/plan_list.h"
#include "plan/selectors.h"
#include "store/control_error.h"
#include "store/statements.h"
#include "store/value_text.h"

#include <memory>
#include <utility>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

bool acceptsDrop(const Label& cell) { return cell.BackColor == color::Available || cell.BackColor == color::Warned; }

void armCapture(ScheduleContext& ctx)
{
    ctx.CaptureDragSource = true;
    ctx.DragSourceCell = nullptr;
}

void disableHost(QX_MavoWin& control)
{
    if (HostWindow* host = control.context().HostForm)
        host->setEnabled(false);
}

// Shows the other side of a dropped lesson: its teacher after a drop on
// ClassGrid, its class after a drop on TeacherGrid.
void followIntoOtherGrid(QX_MavoWin& control, Label& target, Side side)
{
    const Side other = otherSide(side);
    FollowLessonInSelector(control, target, control.surface().selector(other), other);
}

// Hours left counts down on screen only; the list is refilled from the
// database at the next choice.
void lowerHoursLeft(ListItem& item) { item.setSubItem(3, QString::number(leadingNumber(item.SubItem(3)) - 1)); }

// Case A: the selected plan item becomes a lesson in the target cell.
void placeNewLesson(QX_MavoWin& control, Label& target, Side side)
{
    Surface& s = control.surface();
    const bool classSide = side == Side::Class;
    CommandButton& tile = classSide ? s.cBj : s.CJs;
    ListView& list = s.planList(side);
    ListItem* item = list.SelectedItem();
    if (!item)
        throw ProgramError(QStringLiteral("对象变量未设置：%1 没有选中的项").arg(list.Name));

    tile.Caption =
        classSide ? item->SubItem(2) + kLineBreak + item->SubItem(1) : item->Text + kLineBreak + item->SubItem(1);

    // Every field is read before the write, so that a short tag cannot leave
    // a lesson in the database behind a failed drop.
    const QString planId = tag::field(item->Tag, 0);
    const QString classId = tag::field(item->Tag, 1);
    const QString teacherId = tag::field(item->Tag, 2);
    const QString courseId = tag::field(item->Tag, 3);
    const QString lessonId = control.CreateGUIDEx();

    control.perform(std::make_unique<PlaceLesson>(PlaceLesson::Lesson{
        lessonId, planId, classId, teacherId, Slot{Surface::weekdayOf(target), Surface::periodOf(target)},
        LessonNames{item->Text, item->SubItem(1), item->SubItem(2)}}));

    target.Tag = tag::join(lessonId, classId, teacherId, courseId);
    lowerHoursLeft(*item);

    // Grow the tile about the cell's vertical middle.
    disableHost(control);
    tile.Visible = true;
    tile.Height = 100;
    tile.Width = target.Width;
    tile.Left = target.Left;
    for (int i = 5; i <= 20; i += 2) {
        tile.Height = target.Height * i / 20;
        tile.Top = target.Top + target.Height / 2 - (target.Height / 2) * (i / 20.0);
        control.pause(0.02);
    }

    PaintGridPlain(control, side);
    target.BackColor = color::Changed;
    target.Caption = tile.Caption;

    followIntoOtherGrid(control, target, side);
    const Side other = otherSide(side);
    FillPlanListOf(control, other, requireCurrentSelectorId(control, other));

    armCapture(control.context());
    tile.Visible = false;
}

// A tile the size of the cell, over it, with its caption.
void showTileOver(CommandButton& tile, const Label& cell)
{
    tile.Height = cell.Height;
    tile.Width = cell.Width;
    tile.Left = cell.Left;
    tile.Top = cell.Top;
    tile.Caption = cell.Caption;
    tile.Visible = true;
}

// Case D: the analysed lesson moves to the target; whatever stood in its way
// moves to the source slot.
void moveOrExchange(QX_MavoWin& control, Label& source, Label& target, Side side)
{
    Surface& s = control.surface();
    const bool classSide = side == Side::Class;
    CommandButton& moving = classSide ? s.cBj : s.CJs;
    CommandButton& movedBack = classSide ? s.eBj : s.eJs;

    disableHost(control);
    showTileOver(moving, source);
    showTileOver(movedBack, target);
    for (int i = 0; i <= 100; i += 5) {
        moving.Left = source.Left + (target.Left - source.Left) / 100 * i;
        moving.Top = source.Top + (target.Top - source.Top) / 100 * i;
        movedBack.Left = target.Left + (source.Left - target.Left) / 100 * i;
        movedBack.Top = target.Top + (source.Top - target.Top) / 100 * i;
        control.pause(0.01);
    }
    moving.Visible = false;
    movedBack.Visible = false;

    ExchangeLessons(control, source, &target);

    std::swap(source.Caption, target.Caption);
    std::swap(source.Tag, target.Tag);

    PaintGridPlain(control, side);
    source.BackColor = color::Changed;
    target.BackColor = color::Changed;

    followIntoOtherGrid(control, target, side);
    armCapture(control.context());
}

} // namespace

void CellDragOver(QX_MavoWin& control, Label& cell)
{
    ScheduleContext& ctx = control.context();
    if (!ctx.CaptureDragSource)
        return;
    ctx.DragSourceCell = &cell;
    ctx.CaptureDragSource = false;
}

void DropOnCell(QX_MavoWin& control, Label& target, Side side)
{
    runBusy(control, [&] {
        ScheduleContext& ctx = control.context();
        Label* source = ctx.DragSourceCell;
        const bool accepted = acceptsDrop(target);

        if (accepted && !source) {
            placeNewLesson(control, target, side);
        } else if (!source) {
            // A list drop on a refused cell: the item may still be dragged again.
            RefuseDrop(control, nullptr, target, side);
        } else if (source == &target) {
            armCapture(ctx);
        } else if (source->BackColor == color::AnalysedLesson && accepted) {
            moveOrExchange(control, *source, target, side);
        } else {
            Label* from = source;
            armCapture(ctx);
            RefuseDrop(control, from, target, side);
        }
    });
}

void ExchangeLessons(QX_MavoWin& control, Label& source, Label* target)
{
    if (!target)
        return;
    const bool shown = !target->Tag.isEmpty();
    control.perform(std::make_unique<MoveLesson>(MoveLesson::Move{
        tag::field(source.Tag, 0), tag::field(source.Tag, 1), tag::field(source.Tag, 2),
        Slot{Surface::weekdayOf(source), Surface::periodOf(source)},
        Slot{Surface::weekdayOf(*target), Surface::periodOf(*target)}, control.surface().gridOf(*target).side,
        shown ? tag::field(target->Tag, 0) : QString(), shown ? tag::field(target->Tag, 1) : QString(),
        shown ? tag::field(target->Tag, 2) : QString()}));
}

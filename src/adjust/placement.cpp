#include "adjust/placement.h"

#include "adjust/lesson_row_edit.h"
#include "adjust/move_lesson.h"
#include "adjust/refused_drop.h"
#include "adjust/shown_after_change.h"
#include "grid/paint_grid.h"
#include "plan/plan_list.h"
#include "plan/selectors.h"
#include "qxmavowin/host_window.h"
#include "state/busy_state.h"
#include "state/colors.h"
#include "state/control_state.h"
#include "state/selected_ids.h"
#include "state/tag.h"
#include "store/control_error.h"
#include "store/value_text.h"

#include <memory>
#include <utility>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

bool acceptsDrop(const Label& cell) { return cell.BackColor == color::Available || cell.BackColor == color::Warned; }

void disableHost(ControlState& state)
{
    if (HostWindow* host = state.context().HostForm)
        host->setEnabled(false);
}

// Hours left counts down on screen only; the list is refilled from the
// database at the next choice.
void lowerHoursLeft(ListItem& item) { item.setSubItem(3, QString::number(leadingNumber(item.SubItem(3)) - 1)); }

// The selected plan item becomes a lesson in the target cell.
void placeNewLesson(ControlState& state, Label& target, Side side)
{
    Surface& s = state.surface();
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
    const CellTag plan = CellTag::of(item->Tag);
    const QString lessonId = state.newLessonId();

    state.perform(std::make_unique<PlaceLesson>(PlaceLesson::Lesson{
        .id = lessonId,
        .planId = plan.id,
        .classId = plan.classId,
        .teacherId = plan.teacherId,
        .slot = Slot{Surface::weekdayOf(target), Surface::periodOf(target)},
        .names = LessonNames{item->Text, item->SubItem(1), item->SubItem(2)},
    }));

    target.Tag = CellTag{lessonId, plan.classId, plan.teacherId, plan.courseId}.text();
    lowerHoursLeft(*item);

    // Grow the tile about the cell's vertical middle.
    disableHost(state);
    tile.Visible = true;
    tile.Height = 100;
    tile.Width = target.Width;
    tile.Left = target.Left;
    for (int i = 5; i <= 20; i += 2) {
        tile.Height = target.Height * i / 20;
        tile.Top = target.Top + target.Height / 2 - (target.Height / 2) * (i / 20.0);
        state.pause(0.02);
    }

    ShowPlacedLesson(state, target, side, tile.Caption);
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

// The analysed lesson moves to the target; whatever stood in its way moves
// to the source slot.
void moveOrExchange(ControlState& state, Label& source, Label& target, Side side)
{
    Surface& s = state.surface();
    const bool classSide = side == Side::Class;
    CommandButton& moving = classSide ? s.cBj : s.CJs;
    CommandButton& movedBack = classSide ? s.eBj : s.eJs;

    disableHost(state);
    showTileOver(moving, source);
    showTileOver(movedBack, target);
    for (int i = 0; i <= 100; i += 5) {
        moving.Left = source.Left + (target.Left - source.Left) / 100 * i;
        moving.Top = source.Top + (target.Top - source.Top) / 100 * i;
        movedBack.Left = target.Left + (source.Left - target.Left) / 100 * i;
        movedBack.Top = target.Top + (source.Top - target.Top) / 100 * i;
        state.pause(0.01);
    }
    moving.Visible = false;
    movedBack.Visible = false;

    ExchangeLessons(state, source, &target);
    ShowMovedLesson(state, source, target, side);
}

} // namespace

void CellDragOver(ControlState& state, Label& cell)
{
    ScheduleContext& ctx = state.context();
    if (!ctx.CaptureDragSource)
        return;
    ctx.DragSourceCell = &cell;
    ctx.CaptureDragSource = false;
}

void DropOnCell(ControlState& state, ChainOffer& offer, Label& target, Side side)
{
    runBusy(state, [&] {
        ScheduleContext& ctx = state.context();
        Label* source = ctx.DragSourceCell;
        const bool accepted = acceptsDrop(target);

        if (accepted && !source) {
            placeNewLesson(state, target, side);
        } else if (!source) {
            // A list drop on a refused cell: the item may still be dragged again.
            RefuseDrop(state, offer, nullptr, target, side);
        } else if (source == &target) {
            ctx.armDragCapture();
        } else if (source->BackColor == color::AnalysedLesson && accepted) {
            moveOrExchange(state, *source, target, side);
        } else {
            Label* from = source;
            ctx.armDragCapture();
            RefuseDrop(state, offer, from, target, side);
        }
    });
}

void ExchangeLessons(ControlState& state, Label& source, Label* target)
{
    if (!target)
        return;
    const CellTag moved = CellTag::of(source.Tag);
    const CellTag shown = target->Tag.isEmpty() ? CellTag{} : CellTag::of(target->Tag);
    state.perform(std::make_unique<MoveLesson>(MoveLesson::Move{
        .lessonId = moved.id,
        .classId = moved.classId,
        .teacherId = moved.teacherId,
        .from = Slot{Surface::weekdayOf(source), Surface::periodOf(source)},
        .to = Slot{Surface::weekdayOf(*target), Surface::periodOf(*target)},
        .side = state.surface().gridOf(*target).side,
        .shownId = shown.id,
        .shownClassId = shown.classId,
        .shownTeacherId = shown.teacherId,
    }));
}

#include "ui/cell_widget.h"

#include "state/surface.h"
#include "ui/cell_grid.h"
#include "ui/display_text.h"
#include "ui/drag_mime.h"
#include "ui/grid_design.h"
#include "ui/state_marks.h"
#include "ui/widget_placement.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace qxui {

namespace {

bool isOurDrag(const QMimeData* mime) { return mime && mime->hasFormat(kDragMimeType); }

} // namespace

CellWidget::CellWidget(CellGrid& grid, EventSink& sink, const Label& label, Side side, int weekday, int index)
    : QWidget(&grid), grid_(grid), sink_(sink), label_(label), side_(side), weekday_(weekday), index_(index)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);
}

void CellWidget::refresh(const TwipScale& scale)
{
    placeWidget(*this, scale.rect(label_.Left, label_.Top, label_.Width, label_.Height));
    showWidget(*this, label_.Visible);
    update();
    announce(QAccessible::NameChanged);
    updateState();
}

void CellWidget::updateState()
{
    const CellState now = cellState(label_, grid_.showsAnalysis());
    if (now == state_)
        return;
    state_ = now;
    update();
    announce(QAccessible::DescriptionChanged);
}

void CellWidget::setCarried(bool carried)
{
    carried_ = carried;
    update();
    announce(QAccessible::DescriptionChanged);
}

void CellWidget::setChainMoves(int arriving, int leaving)
{
    if (arriving == chainArriving_ && leaving == chainLeaving_)
        return;
    chainArriving_ = arriving;
    chainLeaving_ = leaving;
    update();
    announce(QAccessible::DescriptionChanged);
}

QString CellWidget::spokenName() const
{
    // The period as its heading names it.
    const ControlArray<Label>& headings = grid_.surface().headings;
    const QString period =
        index_ < headings.Count() ? headings[index_].Caption.value() : QStringLiteral("第%1节").arg(index_ + 1);
    const QString shown = displayText(label_.Caption).simplified();
    return kWeekdayNames[weekday_ - 1] + u' ' + period + QStringLiteral("：") +
           (shown.isEmpty() ? QStringLiteral("空") : shown);
}

QString CellWidget::spokenDescription() const
{
    QStringList words;
    if (const QString state = stateWords(state_, label_); !state.isEmpty())
        words << state;
    if (chainArriving_ > 0)
        words << QStringLiteral("调课方案第 %1 步调入").arg(chainArriving_);
    if (chainLeaving_ > 0)
        words << QStringLiteral("调课方案第 %1 步调出").arg(chainLeaving_);
    if (carried_)
        words << QStringLiteral("已拿起");
    if (grid_.carrying() && grid_.showsFocusFrame(*this))
        words << QStringLiteral("放下的目标");
    return words.join(QStringLiteral("，"));
}

void CellWidget::announce(QAccessible::Event event)
{
    QAccessibleEvent told(this, event);
    QAccessible::updateAccessibility(&told);
}

bool CellWidget::event(QEvent* event)
{
    // The tooltip is read from the label when it is asked for.
    if (event->type() == QEvent::ToolTip) {
        if (label_.ToolTipText.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), displayText(label_.ToolTipText), this);
        }
        return true;
    }
    return QWidget::event(event);
}

void CellWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), oleColor(label_.BackColor, pal));
    if (!label_.Caption.isEmpty()) {
        p.setPen(oleColor(label_.ForeColor, pal));
        p.drawText(rect().adjusted(1, 1, -1, -1), Qt::AlignCenter | Qt::TextWordWrap, displayText(label_.Caption));
    }
    paintPresentation(p);
}

// What the widget adds to the surface's look: the state mark, the carried
// lesson and the focus or target frame. Each keeps the cell's colour in
// view: outlines, and a light hatch over the carried lesson.
void CellWidget::paintPresentation(QPainter& p)
{
    if (grid_.marks())
        drawStateMark(p, rect(), state_);
    // An offered chain's moves: the number of the move that brings a lesson
    // here in a filled disc at the top right, of the one that takes it away
    // in an open disc at the bottom right; black and white, on any colour.
    const int d = std::max(12, std::min(width(), height()) / 3);
    auto disc = [&](int number, const QRect& at, bool filled) {
        if (number <= 0)
            return;
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(filled ? QBrush(Qt::black) : QBrush(Qt::white));
        p.drawEllipse(QRectF(at).adjusted(1, 1, -1, -1));
        p.setPen(filled ? Qt::white : Qt::black);
        QFont f = p.font();
        f.setBold(true);
        p.setFont(f);
        p.drawText(at, Qt::AlignCenter, QString::number(number));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::NoBrush);
    };
    disc(chainArriving_, QRect(width() - d - 1, 1, d, d), true);
    disc(chainLeaving_, QRect(width() - d - 1, height() - d - 1, d, d), false);
    if (carried_) {
        p.fillRect(rect(), QBrush(QColor(0, 0, 0, 90), Qt::BDiagPattern));
        p.setPen(QPen(Qt::black, 2, Qt::DashLine));
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    if (!grid_.showsFocusFrame(*this))
        return;
    // Black with a white inner line, seen on every cell colour; the target
    // of a carried lesson has a thicker frame.
    const int width = grid_.carrying() ? 4 : 2;
    const QRectF outer = QRectF(rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0);
    p.setPen(QPen(Qt::black, width));
    p.drawRect(outer);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(QRectF(rect()).adjusted(width + 0.5, width + 0.5, -width - 0.5, -width - 0.5));
}

void CellWidget::mousePressEvent(QMouseEvent* event)
{
    grid_.setFocusCell(weekday_, index_);
    if (event->button() == Qt::LeftButton) {
        leftPressed_ = true;
        pressAt_ = event->position().toPoint();
    }
    event->accept();
}

void CellWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!leftPressed_ || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - pressAt_).manhattanLength() < QApplication::startDragDistance())
        return;
    leftPressed_ = false;
    sink_.cellDragStarted(*this);
}

void CellWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        leftPressed_ = false;
    if (event->button() == Qt::RightButton && rect().contains(event->position().toPoint()))
        sink_.cellRightClicked(*this);
    event->accept();
}

void CellWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (!isOurDrag(event->mimeData()))
        return;
    event->acceptProposedAction();
    sink_.cellDragEntered(*this);
}

void CellWidget::dragMoveEvent(QDragMoveEvent* event)
{
    if (!isOurDrag(event->mimeData()))
        return;
    event->acceptProposedAction();
    sink_.cellDragEntered(*this);
}

void CellWidget::dropEvent(QDropEvent* event)
{
    if (!isOurDrag(event->mimeData()))
        return;
    event->acceptProposedAction();
    sink_.cellDropped(*this);
}

} // namespace qxui

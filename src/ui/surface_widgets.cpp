#include "ui/surface_widgets.h"

#include "state/surface.h"
#include "ui/state_marks.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>

namespace qxui {

namespace {

bool isOurDrag(const QMimeData* mime) { return mime && mime->hasFormat(kDragMimeType); }

// Design of the header bar, in twips relative to the bar.
constexpr double kWeekdayTop = 240;
constexpr double kWeekdayLefts[7] = {1170, 2040, 2955, 3825, 4725, 5640, 6570};
constexpr double kWeekdayRuleXs[6] = {1830, 2730, 3630, 4530, 5430, 6330};
constexpr std::int32_t kLineColor = static_cast<std::int32_t>(0x80000008u);

const QString kWeekdayNames[7] = {
    QStringLiteral("星期一"), QStringLiteral("星期二"), QStringLiteral("星期三"), QStringLiteral("星期四"),
    QStringLiteral("星期五"), QStringLiteral("星期六"), QStringLiteral("星期日"),
};

} // namespace

QString displayText(const QString& caption)
{
    QString text = caption;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void placeWidget(QWidget& widget, const QRect& rect)
{
    if (widget.geometry() != rect)
        widget.setGeometry(rect);
}

void showWidget(QWidget& widget, bool visible)
{
    if (widget.isHidden() == visible)
        widget.setVisible(visible);
}

// ---------------------------------------------------------------- FrameBox

FrameBox::FrameBox(QWidget* parent, const Frame& frame) : QWidget(parent), frame_(frame)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FrameBox::refresh(const TwipScale& scale)
{
    placeWidget(*this, scale.rect(frame_.Left, frame_.Top, frame_.Width, frame_.Height + extraHeight_));
    update();
}

void FrameBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor back = oleColor(frame_.BackColor, palette());
    const QString& caption = frame_.Caption;
    p.fillRect(rect(), back);
    if (caption.isEmpty())
        return;
    const QFontMetrics fm = fontMetrics();
    const int lineY = fm.height() / 2;
    QStyleOptionFrame option;
    option.initFrom(this);
    option.rect = rect().adjusted(0, lineY, 0, 0);
    option.frameShape = QFrame::Box;
    option.state |= QStyle::State_Sunken;
    option.lineWidth = 1;
    option.midLineWidth = 0;
    style()->drawPrimitive(QStyle::PE_FrameGroupBox, &option, &p, this);
    const int textWidth = fm.horizontalAdvance(caption);
    const QRect textRect(8, 0, textWidth + 4, fm.height());
    p.fillRect(textRect, back);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(textRect, Qt::AlignCenter, caption);
}

// --------------------------------------------------------------- HeaderBar

HeaderBar::HeaderBar(QWidget* parent, const GridSurface& grid) : QWidget(parent), grid_(grid)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HeaderBar::refresh(const TwipScale& scale)
{
    const Frame& bar = grid_.headerBar;
    placeWidget(*this, scale.rect(bar.Left, bar.Top, bar.Width, bar.Height));
    scale_ = scale;
    update();
}

void HeaderBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const Frame& c = grid_.corner;
    const QRect corner = scale_.rect(c.Left, c.Top, c.Width, c.Height);
    p.fillRect(rect(), oleColor(grid_.headerBar.BackColor, pal));
    p.fillRect(corner, oleColor(c.BackColor, pal));

    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(oleColor(kLineColor, pal), 1));
    p.drawLine(QPointF(corner.topLeft()) + scale_.point(30, 120), QPointF(corner.topLeft()) + scale_.point(900, 420));
    p.setRenderHint(QPainter::Antialiasing, false);
    for (double x : kWeekdayRuleXs)
        p.drawLine(scale_.point(x, 420), scale_.point(x, 90));

    // Labels sized to their text, drawn from their top-left corner.
    const int ascent = fontMetrics().ascent();
    p.setPen(oleColor(0x00FFFF00, pal));
    p.drawText(QPointF(corner.topLeft()) + scale_.point(540, 150) + QPointF(0, ascent), QStringLiteral("星期"));
    p.drawText(QPointF(corner.topLeft()) + scale_.point(30, 240) + QPointF(0, ascent), QStringLiteral("课节"));
    p.setPen(oleColor(0x0080FFFF, pal));
    for (int d = 0; d < 7; ++d)
        p.drawText(scale_.point(kWeekdayLefts[d], kWeekdayTop) + QPointF(0, ascent), kWeekdayNames[d]);
}

// ----------------------------------------------------------- HeadingColumn

HeadingColumn::HeadingColumn(QWidget* parent, const GridSurface& grid) : QWidget(parent), grid_(grid)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HeadingColumn::refresh(const TwipScale& scale)
{
    const Frame& f = grid_.headingFrame;
    placeWidget(*this, scale.rect(f.Left, f.Top, f.Width, f.Height));
    scale_ = scale;
    update();
}

void HeadingColumn::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), oleColor(grid_.headingFrame.BackColor, pal));
    p.setPen(oleColor(kLineColor, pal));
    for (int i = 0; i < grid_.lines.Count(); ++i) {
        const Line& l = grid_.lines[i];
        if (l.Visible)
            p.drawLine(QLineF(scale_.point(l.X1, l.Y1), scale_.point(l.X2, l.Y2)));
    }
    // A heading label is shorter than its text is high; its text is drawn
    // from the label's top, unclipped, as the toolkit draws a label.
    for (int i = 0; i < grid_.headings.Count(); ++i) {
        const Label& h = grid_.headings[i];
        if (!h.Visible)
            continue;
        p.setPen(oleColor(h.ForeColor, pal));
        p.drawText(scale_.rect(h.Left, h.Top, h.Width, h.Height), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
                   displayText(h.Caption));
    }
}

// ---------------------------------------------------------------- CellGrid

CellGrid::CellGrid(QWidget* parent, EventSink& sink, const GridSurface& grid)
    : FrameBox(parent, grid.cellFrame), sink_(sink), grid_(grid)
{
    // Reached by Tab; a click on a cell leaves the focus where it is, so
    // that the mouse user's screen gains no focus frame.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(grid.outer.Caption);
}

void CellGrid::addCell(CellWidget* cell) { cells_.at(static_cast<size_t>(cell->weekday() - 1)).push_back(cell); }

CellWidget* CellGrid::cell(int weekday, int index) const
{
    if (weekday < 1 || weekday > 7 || index < 0 || index >= rows(weekday))
        return nullptr;
    return cells_[static_cast<size_t>(weekday - 1)][static_cast<size_t>(index)];
}

int CellGrid::rows(int weekday) const { return static_cast<int>(cells_.at(static_cast<size_t>(weekday - 1)).size()); }

void CellGrid::setFocusCell(int weekday, int index)
{
    weekday = std::clamp(weekday, 1, 7);
    index = std::clamp(index, 0, std::max(0, rows(weekday) - 1));
    if (weekday == focusWeekday_ && index == focusIndex_)
        return;
    if (CellWidget* old = focusCell())
        old->update();
    focusWeekday_ = weekday;
    focusIndex_ = index;
    updateFocusCell();
}

void CellGrid::updateFocusCell()
{
    CellWidget* cell = focusCell();
    if (!cell)
        return;
    cell->update();
    if (hasFocus())
        cell->announce(QAccessible::Focus);
}

void CellGrid::setCarrying(bool carrying)
{
    carrying_ = carrying;
    if (CellWidget* cell = focusCell())
        cell->update();
}

bool CellGrid::readAnalysis()
{
    const bool shown = qxui::showsAnalysis(grid_);
    const bool changed = shown != analysisShown_;
    analysisShown_ = shown;
    return changed;
}

void CellGrid::updateStates()
{
    for (auto& column : cells_)
        for (CellWidget* cell : column)
            cell->updateState();
}

void CellGrid::setMarks(bool on)
{
    marks_ = on;
    for (auto& column : cells_)
        for (CellWidget* cell : column)
            cell->update();
}

void CellGrid::keyPressEvent(QKeyEvent* event)
{
    CellWidget* cell = focusCell();
    const auto key = [&](CellKey k) {
        if (!cell || !sink_.cellKeyPressed(*cell, k))
            event->ignore();
    };
    switch (event->key()) {
    case Qt::Key_Left: setFocusCell(focusWeekday_ - 1, focusIndex_); break;
    case Qt::Key_Right: setFocusCell(focusWeekday_ + 1, focusIndex_); break;
    case Qt::Key_Up: setFocusCell(focusWeekday_, focusIndex_ - 1); break;
    case Qt::Key_Down: setFocusCell(focusWeekday_, focusIndex_ + 1); break;
    case Qt::Key_Space:
    case Qt::Key_Menu: key(CellKey::Analyse); break;
    case Qt::Key_F10:
        if (event->modifiers() & Qt::ShiftModifier)
            key(CellKey::Analyse);
        else
            event->ignore();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter: key(CellKey::Enter); break;
    case Qt::Key_Escape: key(CellKey::Escape); break;
    case Qt::Key_Delete: key(CellKey::Delete); break;
    default: FrameBox::keyPressEvent(event);
    }
}

void CellGrid::focusInEvent(QFocusEvent* event)
{
    FrameBox::focusInEvent(event);
    updateFocusCell();
}

void CellGrid::focusOutEvent(QFocusEvent* event)
{
    FrameBox::focusOutEvent(event);
    if (CellWidget* cell = focusCell())
        cell->update();
}

// -------------------------------------------------------------- CellWidget

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

// -------------------------------------------------------------- TileWidget

TileWidget::TileWidget(QWidget* parent, const CommandButton& button) : QWidget(parent), button_(button)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TileWidget::refresh(const TwipScale& scale)
{
    placeWidget(*this, scale.rect(button_.Left, button_.Top, button_.Width, button_.Height));
    update();
    if (button_.Visible)
        raise();
    showWidget(*this, button_.Visible);
}

void TileWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QRect r = rect();
    p.fillRect(r, oleColor(button_.BackColor, pal));
    // A raised button face: light top-left edge, dark bottom-right edge.
    // The host window is disabled while a tile moves; the tile keeps its look.
    p.setPen(pal.color(QPalette::Active, QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(pal.color(QPalette::Active, QPalette::Shadow));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(pal.color(QPalette::Active, QPalette::ButtonText));
    p.drawText(r.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, displayText(button_.Caption));
}

// ---------------------------------------------------------- PlanListWidget

PlanListWidget::PlanListWidget(QWidget* parent, EventSink& sink, ListView& list)
    : QTreeWidget(parent), sink_(sink), list_(list)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    // Moving the selection with the keyboard selects the entry, as a press does.
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
        const int row = item ? indexOfTopLevelItem(item) : -1;
        if (row >= 0)
            sink_.planItemPressed(*this, row);
    });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        const int row = indexOfTopLevelItem(item);
        if (row >= 0)
            sink_.planItemClicked(*this, row);
    });
}

void PlanListWidget::fillItem(QTreeWidgetItem& item, const ListItem& entry) const
{
    const QString tip = displayText(entry.ToolTipText);
    const int columns = columnCount();
    QStringList spoken;
    for (int c = 0; c < columns; ++c) {
        const QString text = c == 0 ? entry.Text.value() : entry.SubItem(c);
        item.setText(c, text);
        item.setToolTip(c, tip);
        item.setData(c, Qt::AccessibleDescriptionRole, tip);
        spoken << headerItem()->text(c) + u' ' + text;
    }
    // The first column speaks for the whole entry.
    item.setData(0, Qt::AccessibleTextRole, spoken.join(QStringLiteral("，")));
}

void PlanListWidget::keyPressEvent(QKeyEvent* event)
{
    const int row = currentItem() ? indexOfTopLevelItem(currentItem()) : -1;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && row >= 0) {
        sink_.planItemEntered(*this, row);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void PlanListWidget::refresh(const TwipScale& scale)
{
    placeWidget(*this, scale.rect(list_.Left, list_.Top, list_.Width, list_.Height + extraHeight_));
    if (rowsShown_ != list_.rowsRevision()) {
        writeColumns();
        writeRows();
        fitColumns();
    }

    const int selected = list_.SelectedIndex;
    QTreeWidgetItem* item = selected >= 0 ? topLevelItem(selected) : nullptr;
    if (currentItem() != item || (item && !item->isSelected())) {
        if (item) {
            setCurrentItem(item);
        } else {
            clearSelection();
            setCurrentItem(nullptr);
        }
    }
}

void PlanListWidget::writeColumns()
{
    // Columns are only ever added: the count and the last one tell.
    const std::vector<ColumnHeader>& headers = list_.ColumnHeaders;
    const int columns = std::max(1, static_cast<int>(headers.size()));
    if (columnCount() == columns && (headers.empty() || headerItem()->text(columns - 1) == headers.back().Text))
        return;
    QStringList labels;
    for (const ColumnHeader& h : headers)
        labels << h.Text;
    setColumnCount(columns);
    setHeaderLabels(labels);
    clear(); // the columns changed: every row is written again
}

// Every column stays in sight, 每周课时 at the right end included: each gets
// the width of its heading and texts, the room left over is shared out, and
// when the list is too narrow for all of them they narrow in proportion.
void PlanListWidget::fitColumns()
{
    const int columns = columnCount();
    const int room = viewport()->width();
    if (columns == 0 || room <= 0)
        return;
    std::vector<int> want(static_cast<size_t>(columns));
    int total = 0;
    for (int c = 0; c < columns; ++c) {
        want[static_cast<size_t>(c)] = std::max(header()->sectionSizeHint(c), sizeHintForColumn(c));
        total += want[static_cast<size_t>(c)];
    }
    int given = 0;
    for (int c = 0; c < columns; ++c) {
        const int w = want[static_cast<size_t>(c)];
        const int width = c == columns - 1 ? room - given
                          : total <= room  ? w + (room - total) / columns
                                           : w * room / total;
        setColumnWidth(c, width);
        given += width;
    }
}

void PlanListWidget::resizeEvent(QResizeEvent* event)
{
    QTreeWidget::resizeEvent(event);
    fitColumns();
}

void PlanListWidget::writeRows()
{
    rowsShown_ = list_.rowsRevision();
    const std::vector<ListItem>& entries = list_.ListItems;
    // The same number of rows is most often one row's hours left changing:
    // written in place, the view keeps its scroll position.
    if (topLevelItemCount() == static_cast<int>(entries.size())) {
        for (size_t i = 0; i < entries.size(); ++i)
            fillItem(*topLevelItem(static_cast<int>(i)), entries[i]);
        return;
    }
    clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(entries.size()));
    for (const ListItem& entry : entries) {
        auto* item = new QTreeWidgetItem;
        fillItem(*item, entry);
        rows << item;
    }
    addTopLevelItems(rows);
}

void PlanListWidget::mousePressEvent(QMouseEvent* event)
{
    QTreeWidget::mousePressEvent(event);
    pressRow_ = -1;
    dragging_ = false;
    if (event->button() != Qt::LeftButton)
        return;
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (!item)
        return;
    pressRow_ = indexOfTopLevelItem(item);
    pressAt_ = event->position().toPoint();
    sink_.planItemPressed(*this, pressRow_);
}

void PlanListWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (pressRow_ >= 0 && !dragging_ && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - pressAt_).manhattanLength() >= QApplication::startDragDistance()) {
        dragging_ = true;
        const int row = pressRow_;
        pressRow_ = -1;
        sink_.planDragStarted(*this, row);
        return;
    }
    if (!dragging_)
        QTreeWidget::mouseMoveEvent(event);
}

void PlanListWidget::mouseReleaseEvent(QMouseEvent* event)
{
    // A press that turned into a drag is no click.
    if (dragging_) {
        dragging_ = false;
        event->accept();
        return;
    }
    pressRow_ = -1;
    QTreeWidget::mouseReleaseEvent(event);
}

// ----------------------------------------------------------------- HelpBox

HelpBox::HelpBox(QWidget* parent, EventSink& sink, const TextBox& box) : QPlainTextEdit(parent), sink_(sink), box_(box)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    viewport()->installEventFilter(this);
    viewport()->setCursor(Qt::ArrowCursor);
}

void HelpBox::refresh(const TwipScale& scale)
{
    placeWidget(*this, scale.rect(box_.Left, box_.Top, box_.Width, box_.Height));
    const QString text = displayText(box_.Text);
    if (toPlainText() != text)
        setPlainText(text);
    if (box_.Visible)
        raise();
    showWidget(*this, box_.Visible);
}

bool HelpBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            sink_.helpClicked();
            return true;
        }
    }
    return QPlainTextEdit::eventFilter(watched, event);
}

} // namespace qxui

#include "ui/surface_widgets.h"

#include "control/surface.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace qxui {

namespace {

QString displayText(const QString& caption)
{
    QString text = caption;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

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

FrameBox::FrameBox(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void FrameBox::sync(const Frame& frame, const TwipScale& scale)
{
    placeWidget(*this, scale.rect(frame.Left, frame.Top, frame.Width, frame.Height));
    if (caption_ != frame.Caption || back_ != frame.BackColor) {
        caption_ = frame.Caption;
        back_ = frame.BackColor;
        update();
    }
}

void FrameBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), oleColor(back_, palette()));
    if (caption_.isEmpty())
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
    const int textWidth = fm.horizontalAdvance(caption_);
    const QRect textRect(8, 0, textWidth + 4, fm.height());
    p.fillRect(textRect, oleColor(back_, palette()));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(textRect, Qt::AlignCenter, caption_);
}

// --------------------------------------------------------------- HeaderBar

HeaderBar::HeaderBar(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void HeaderBar::sync(const GridSurface& grid, const TwipScale& scale)
{
    placeWidget(*this, scale.rect(grid.headerBar.Left, grid.headerBar.Top, grid.headerBar.Width,
                                  grid.headerBar.Height));
    const QRect corner = scale.rect(grid.corner.Left, grid.corner.Top, grid.corner.Width, grid.corner.Height);
    if (back_ != grid.headerBar.BackColor || cornerBack_ != grid.corner.BackColor || corner_ != corner
        || !(scale_ == scale)) {
        back_ = grid.headerBar.BackColor;
        cornerBack_ = grid.corner.BackColor;
        corner_ = corner;
        scale_ = scale;
        update();
    }
}

void HeaderBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), oleColor(back_, pal));
    p.fillRect(corner_, oleColor(cornerBack_, pal));

    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(oleColor(kLineColor, pal), 1));
    p.drawLine(QPointF(corner_.topLeft()) + scale_.point(30, 120), QPointF(corner_.topLeft()) + scale_.point(900, 420));
    p.setRenderHint(QPainter::Antialiasing, false);
    for (double x : kWeekdayRuleXs)
        p.drawLine(scale_.point(x, 420), scale_.point(x, 90));

    // Labels sized to their text, drawn from their top-left corner.
    const int ascent = fontMetrics().ascent();
    p.setPen(oleColor(0x00FFFF00, pal));
    p.drawText(QPointF(corner_.topLeft()) + scale_.point(540, 150) + QPointF(0, ascent), QStringLiteral("星期"));
    p.drawText(QPointF(corner_.topLeft()) + scale_.point(30, 240) + QPointF(0, ascent), QStringLiteral("课节"));
    p.setPen(oleColor(0x0080FFFF, pal));
    for (int d = 0; d < 7; ++d)
        p.drawText(scale_.point(kWeekdayLefts[d], kWeekdayTop) + QPointF(0, ascent), kWeekdayNames[d]);
}

// ----------------------------------------------------------- HeadingColumn

HeadingColumn::HeadingColumn(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void HeadingColumn::sync(const GridSurface& grid, const TwipScale& scale)
{
    const Frame& f = grid.headingFrame;
    placeWidget(*this, scale.rect(f.Left, f.Top, f.Width, f.Height));

    std::vector<Heading> headings;
    headings.reserve(static_cast<size_t>(grid.headings.Count()));
    for (int i = 0; i < grid.headings.Count(); ++i) {
        const Label& l = grid.headings[i];
        headings.push_back({displayText(l.Caption), scale.rect(l.Left, l.Top, l.Width, l.Height), l.ForeColor, l.Visible});
    }
    std::vector<Rule> rules;
    rules.reserve(static_cast<size_t>(grid.lines.Count()));
    for (int i = 0; i < grid.lines.Count(); ++i) {
        const Line& l = grid.lines[i];
        rules.push_back({QLineF(scale.point(l.X1, l.Y1), scale.point(l.X2, l.Y2)), l.Visible});
    }
    if (back_ != f.BackColor || headings != headings_ || rules != rules_) {
        back_ = f.BackColor;
        headings_ = std::move(headings);
        rules_ = std::move(rules);
        update();
    }
}

void HeadingColumn::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), oleColor(back_, pal));
    p.setPen(oleColor(kLineColor, pal));
    for (const Rule& r : rules_)
        if (r.visible)
            p.drawLine(r.line);
    // A heading label is shorter than its text is high; its text is drawn
    // from the label's top, unclipped, as the toolkit draws a label.
    for (const Heading& h : headings_) {
        if (!h.visible)
            continue;
        p.setPen(oleColor(h.fore, pal));
        p.drawText(h.rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, h.caption);
    }
}

// -------------------------------------------------------------- CellWidget

CellWidget::CellWidget(QWidget* parent, EventSink& sink, Side side, int weekday, int index)
    : QWidget(parent), sink_(sink), side_(side), weekday_(weekday), index_(index)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);
}

void CellWidget::sync(const Label& label, const TwipScale& scale)
{
    placeWidget(*this, scale.rect(label.Left, label.Top, label.Width, label.Height));
    showWidget(*this, label.Visible);
    bool dirty = false;
    if (caption_ != label.Caption) {
        caption_ = label.Caption;
        shown_ = displayText(caption_);
        dirty = true;
    }
    if (back_ != label.BackColor || fore_ != label.ForeColor) {
        back_ = label.BackColor;
        fore_ = label.ForeColor;
        dirty = true;
    }
    if (toolTip_ != label.ToolTipText) {
        toolTip_ = label.ToolTipText;
        setToolTip(displayText(toolTip_));
    }
    if (dirty)
        update();
}

void CellWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), oleColor(back_, pal));
    if (shown_.isEmpty())
        return;
    p.setPen(oleColor(fore_, pal));
    p.drawText(rect().adjusted(1, 1, -1, -1), Qt::AlignCenter | Qt::TextWordWrap, shown_);
}

void CellWidget::mousePressEvent(QMouseEvent* event)
{
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

TileWidget::TileWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TileWidget::sync(const CommandButton& button, const TwipScale& scale)
{
    placeWidget(*this, scale.rect(button.Left, button.Top, button.Width, button.Height));
    if (caption_ != button.Caption || back_ != button.BackColor) {
        caption_ = button.Caption;
        back_ = button.BackColor;
        update();
    }
    if (button.Visible)
        raise();
    showWidget(*this, button.Visible);
}

void TileWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QRect r = rect();
    p.fillRect(r, oleColor(back_, pal));
    // A raised button face: light top-left edge, dark bottom-right edge.
    // The host window is disabled while a tile moves; the tile keeps its look.
    p.setPen(pal.color(QPalette::Active, QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(pal.color(QPalette::Active, QPalette::Shadow));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(pal.color(QPalette::Active, QPalette::ButtonText));
    p.drawText(r.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, displayText(caption_));
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
    const int columns = std::max(1, static_cast<int>(headers_.size()));
    for (int c = 0; c < columns; ++c) {
        item.setText(c, c == 0 ? entry.Text : entry.SubItem(c));
        item.setToolTip(c, tip);
    }
}

void PlanListWidget::sync(const TwipScale& scale)
{
    placeWidget(*this, scale.rect(list_.Left, list_.Top, list_.Width, list_.Height));

    // The toolkit's default column width, 1440 twips.
    const bool headersChanged = headers_.size() != list_.ColumnHeaders.size()
        || !std::equal(headers_.begin(), headers_.end(), list_.ColumnHeaders.begin(),
                       [](const ColumnHeader& a, const ColumnHeader& b) { return a.Key == b.Key && a.Text == b.Text; });
    if (headersChanged || columnTwips_ != scale.pxPerTwip()) {
        headers_ = list_.ColumnHeaders;
        columnTwips_ = scale.pxPerTwip();
        QStringList labels;
        for (const ColumnHeader& h : headers_)
            labels << h.Text;
        setColumnCount(std::max(1, static_cast<int>(labels.size())));
        setHeaderLabels(labels);
        for (int c = 0; c < columnCount(); ++c)
            setColumnWidth(c, scale.px(1440));
        items_.clear(); // the columns changed: every row is written again
        clear();
    }

    auto same = [](const ListItem& a, const ListItem& b) {
        return a.Text == b.Text && a.SubItems == b.SubItems && a.ToolTipText == b.ToolTipText;
    };
    if (items_.size() != list_.ListItems.size()) {
        clear();
        QList<QTreeWidgetItem*> rows;
        rows.reserve(static_cast<qsizetype>(list_.ListItems.size()));
        for (const ListItem& entry : list_.ListItems) {
            auto* item = new QTreeWidgetItem;
            fillItem(*item, entry);
            rows << item;
        }
        addTopLevelItems(rows);
        items_ = list_.ListItems;
        selected_ = -2;
    } else {
        for (size_t i = 0; i < items_.size(); ++i) {
            if (!same(items_[i], list_.ListItems[i])) {
                fillItem(*topLevelItem(static_cast<int>(i)), list_.ListItems[i]);
                items_[i] = list_.ListItems[i];
            }
        }
    }

    if (selected_ != list_.SelectedIndex) {
        selected_ = list_.SelectedIndex;
        QTreeWidgetItem* item = selected_ >= 0 ? topLevelItem(selected_) : nullptr;
        if (item) {
            setCurrentItem(item);
        } else {
            clearSelection();
            setCurrentItem(nullptr);
        }
    }
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
    if (pressRow_ >= 0 && !dragging_ && (event->buttons() & Qt::LeftButton)
        && (event->position().toPoint() - pressAt_).manhattanLength() >= QApplication::startDragDistance()) {
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

HelpBox::HelpBox(QWidget* parent, EventSink& sink) : QPlainTextEdit(parent), sink_(sink)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    viewport()->installEventFilter(this);
    viewport()->setCursor(Qt::ArrowCursor);
}

void HelpBox::sync(const TextBox& box, const TwipScale& scale)
{
    placeWidget(*this, scale.rect(box.Left, box.Top, box.Width, box.Height));
    if (text_ != box.Text) {
        text_ = box.Text;
        setPlainText(displayText(text_));
    }
    if (box.Visible)
        raise();
    showWidget(*this, box.Visible);
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

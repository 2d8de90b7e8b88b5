#include "ui/plan_list_widget.h"

#include "ui/display_text.h"
#include "ui/widget_placement.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace qxui {

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

} // namespace qxui

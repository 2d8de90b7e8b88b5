#include "host/conflicts_panel.h"

#include "qxmavowin/qxmavowin_widget.h"
#include "store/control_error.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace {

constexpr int kLessonRole = Qt::UserRole;
// What names an item across checks: its kind, its entry's text, its lesson.
constexpr int kKeyRole = Qt::UserRole + 1;

QStringList lessonColumns(const LessonRef& l)
{
    const bool placed = !l.lessonId.isEmpty();
    return {l.course, l.className, l.teacher, placed ? weekdayName(l.weekday) : QString(),
            placed ? periodName(l.period) : QString()};
}

} // namespace

ConflictsPanel::ConflictsPanel(QxMavoWinWidget& control, QWidget* parent) : QWidget(parent), control_(control)
{
    setObjectName(QStringLiteral("conflictsPanel"));
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    auto* again = new QPushButton(QStringLiteral("重新检查"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lstConflicts"));
    list_->setHeaderLabels({QStringLiteral("问题 / 课程"), QStringLiteral("班级"), QStringLiteral("教师"),
                            QStringLiteral("星期"), QStringLiteral("课节")});
    // Sized to the entries once per check, rather than on every entry added.
    list_->header()->setSectionResizeMode(QHeaderView::Interactive);
    list_->setMinimumWidth(300);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("<b>冲突检查</b>"), this));
    buttons->addStretch();
    buttons->addWidget(again);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(summary_);
    layout->addWidget(list_);

    connect(again, &QPushButton::clicked, this, &ConflictsPanel::refresh);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { open(item); });
    // Changes that come together (an exchange's two lessons, a burst of
    // another desk's) are checked once, when the event loop comes round.
    connect(&control_, &QxMavoWinWidget::timetableChanged, this, [this] {
        if (isHidden() || recheckQueued_)
            return;
        recheckQueued_ = true;
        QMetaObject::invokeMethod(this, &ConflictsPanel::recheck, Qt::QueuedConnection);
    });
    hide();
}

void ConflictsPanel::recheck()
{
    recheckQueued_ = false;
    if (isHidden())
        return;
    try {
        fill(control_.checkTimetable());
    } catch (const std::exception& e) {
        summary_->setText(QStringLiteral("检查失败：%1").arg(describe(e)));
    }
}

void ConflictsPanel::refresh()
{
    try {
        fill(control_.checkTimetable());
    } catch (const std::exception& e) {
        QMessageBox::warning(window(), QStringLiteral("冲突检查"), describe(e));
        return;
    }
    if (isHidden()) {
        show();
        // The window grows to make room for the list rather than squeezing the
        // grids, as far as the screen allows.
        QWidget* w = window();
        const int room = w->screen() ? w->screen()->availableSize().width() : w->sizeHint().width();
        const int wanted = std::min(w->sizeHint().width(), room);
        if (!w->isMaximized() && !w->isFullScreen() && w->width() < wanted)
            w->resize(wanted, w->height());
    }
}

void ConflictsPanel::fill(const ConflictReport& report)
{
    // What the user opened, closed and selected, to be found again.
    QHash<QString, bool> expanded;
    for (QTreeWidgetItemIterator it(list_); *it; ++it)
        if ((*it)->childCount() > 0)
            expanded.insert((*it)->data(0, kKeyRole).toString(), (*it)->isExpanded());
    const QString selected = list_->currentItem() && list_->currentItem()->isSelected()
                                 ? list_->currentItem()->data(0, kKeyRole).toString()
                                 : QString();
    const int scrolled = list_->verticalScrollBar()->value();

    list_->setUpdatesEnabled(false);
    list_->clear();
    lessons_.clear();
    summary_->setText(reportSummary(report));
    QTreeWidgetItem* reselect = nullptr;
    auto keyed = [&](QTreeWidgetItem* item, const QString& key) {
        item->setData(0, kKeyRole, key);
        if (!selected.isEmpty() && key == selected)
            reselect = item;
        return item;
    };
    auto addLesson = [&](QTreeWidgetItem* parent, const LessonRef& lesson) {
        auto* item = new QTreeWidgetItem(parent, lessonColumns(lesson));
        item->setData(0, kLessonRole, static_cast<qulonglong>(lessons_.size()));
        lessons_.push_back(lesson);
        return keyed(item, parent->data(0, kKeyRole).toString() + u'/' + lesson.lessonId + u'/' + lesson.planId);
    };
    auto unfold = [&](QTreeWidgetItem* item, bool byDefault) {
        item->setExpanded(expanded.value(item->data(0, kKeyRole).toString(), byDefault));
    };
    for (ProblemKind kind : kProblemKinds) {
        const int count = report.count(kind);
        if (count == 0)
            continue;
        auto* group = new QTreeWidgetItem(list_, {QStringLiteral("%1（%2）").arg(kindTitle(kind)).arg(count)});
        keyed(group, kindKey(kind));
        group->setFirstColumnSpanned(true);
        for (const Problem& p : report.problems) {
            if (p.kind != kind)
                continue;
            if (kind == ProblemKind::HoursLeft) {
                // The plan item itself, with its hours: placed and still to place.
                QTreeWidgetItem* item = addLesson(group, p.lessons.front());
                item->setText(0, QStringLiteral("%1（%2）").arg(item->text(0), p.detail));
                item->setToolTip(0, p.detail);
                continue;
            }
            auto* entry = new QTreeWidgetItem(group, {p.detail});
            keyed(entry, kindKey(kind) + u'/' + p.detail);
            entry->setFirstColumnSpanned(true);
            entry->setData(0, kLessonRole, static_cast<qulonglong>(lessons_.size()));
            for (const LessonRef& lesson : p.lessons)
                addLesson(entry, lesson);
            unfold(entry, true);
        }
        // Hours left are information: their branch starts folded.
        unfold(group, isConflict(kind));
    }
    if (reselect)
        list_->setCurrentItem(reselect);
    list_->header()->resizeSections(QHeaderView::ResizeToContents);
    list_->verticalScrollBar()->setValue(scrolled);
    list_->setUpdatesEnabled(true);
}

void ConflictsPanel::open(QTreeWidgetItem* item)
{
    const QVariant index = item->data(0, kLessonRole);
    if (!index.isValid())
        return;
    try {
        control_.showLesson(lessons_.at(index.toULongLong()));
    } catch (const std::exception& e) {
        QMessageBox::warning(window(), QStringLiteral("冲突检查"), describe(e));
    }
}

QMenu* addCheckMenu(QMenuBar& bar, ConflictsPanel& panel)
{
    QMenu* menu = bar.addMenu(QStringLiteral("检查(&C)"));
    QAction* check = menu->addAction(QStringLiteral("冲突检查(&K)"), &panel, &ConflictsPanel::refresh);
    check->setShortcut(QKeySequence(Qt::Key_F5));
    return menu;
}

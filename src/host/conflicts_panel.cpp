#include "host/conflicts_panel.h"

#include "store/control_error.h"
#include "qxmavowin/qxmavowin_widget.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kLessonRole = Qt::UserRole;

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
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setMinimumWidth(420);

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
    hide();
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
        // The window grows to make room for the list rather than squeezing the grids.
        QWidget* w = window();
        if (!w->isMaximized() && !w->isFullScreen() && w->width() < w->sizeHint().width())
            w->resize(w->sizeHint().width(), w->height());
    }
}

void ConflictsPanel::fill(const ConflictReport& report)
{
    list_->clear();
    lessons_.clear();
    summary_->setText(reportSummary(report));
    auto addLesson = [this](QTreeWidgetItem* parent, const LessonRef& lesson) {
        auto* item = new QTreeWidgetItem(parent, lessonColumns(lesson));
        item->setData(0, kLessonRole, static_cast<qulonglong>(lessons_.size()));
        lessons_.push_back(lesson);
        return item;
    };
    for (ProblemKind kind : kProblemKinds) {
        const int count = report.count(kind);
        if (count == 0)
            continue;
        auto* group = new QTreeWidgetItem(list_, {QStringLiteral("%1（%2）").arg(kindTitle(kind)).arg(count)});
        group->setFirstColumnSpanned(true);
        for (const Problem& p : report.problems) {
            if (p.kind != kind)
                continue;
            if (kind == ProblemKind::HoursLeft) {
                addLesson(group, p.lessons.front())->setToolTip(0, p.detail);
                continue;
            }
            auto* entry = new QTreeWidgetItem(group, {p.detail});
            entry->setFirstColumnSpanned(true);
            entry->setData(0, kLessonRole, static_cast<qulonglong>(lessons_.size()));
            for (const LessonRef& lesson : p.lessons)
                addLesson(entry, lesson);
            entry->setExpanded(true);
        }
        // Hours left are information: their branch stays folded.
        group->setExpanded(isConflict(kind));
    }
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

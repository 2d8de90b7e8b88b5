#include "host/history_panel.h"

#include "control/qx_mavowin.h"
#include "qxmavowin/qxmavowin_widget.h"
#include "state/selected_ids.h"
#include "store/change_log.h"
#include "store/control_error.h"
#include "store/value_text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString whatText(const ChangeEntry& e)
{
    static const QHash<QString, QString> kinds{{QStringLiteral("place"), QStringLiteral("安排")},
                                               {QStringLiteral("move"), QStringLiteral("移动")},
                                               {QStringLiteral("exchange"), QStringLiteral("交换")},
                                               {QStringLiteral("remove"), QStringLiteral("删除")}};
    const QString kind = kinds.value(e.kind, e.kind);
    if (e.step == QLatin1String("undo"))
        return QStringLiteral("撤销 ") + kind;
    if (e.step == QLatin1String("redo"))
        return QStringLiteral("重做 ") + kind;
    return kind;
}

QString slotsText(const ChangeEntry& e)
{
    if (!e.before)
        return e.after ? QStringLiteral("→ ") + slotText(*e.after) : QString();
    if (!e.after)
        return slotText(*e.before) + QStringLiteral(" →");
    const QString arrow = e.kind == QLatin1String("exchange") ? QStringLiteral(" ↔ ") : QStringLiteral(" → ");
    return slotText(*e.before) + arrow + slotText(*e.after);
}

QString whoText(const ChangeEntry& e)
{
    return e.dbUser.isEmpty() ? e.desk : QStringLiteral("%1（%2）").arg(e.desk, e.dbUser);
}

} // namespace

// kcb_log's own sequence number names an entry across reloads.
constexpr int kSeqRole = Qt::UserRole + 1;

HistoryPanel::HistoryPanel(QxMavoWinWidget& control, QWidget* parent)
    : QWidget(parent), control_(control), tree_(new QTreeWidget(this)), filter_(new QComboBox(this)),
      note_(new QLabel(this))
{
    setObjectName(QStringLiteral("historyPanel"));
    tree_->setObjectName(QStringLiteral("historyEntries"));
    tree_->setRootIsDecorated(false);
    tree_->setHeaderLabels({QStringLiteral("时间"), QStringLiteral("调整"), QStringLiteral("课程"),
                            QStringLiteral("班级"), QStringLiteral("教师"), QStringLiteral("位置"),
                            QStringLiteral("用户")});
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->setToolTip(QStringLiteral("双击一条记录：选中它的班级并分析这节课"));
    // Narrow enough to leave a small screen to the grids; the splitter widens it.
    tree_->setMinimumWidth(240);
    filter_->setObjectName(QStringLiteral("historyFilter"));
    filter_->addItems({QStringLiteral("全部"), QStringLiteral("当前班级"), QStringLiteral("当前教师")});
    filter_->setAccessibleName(QStringLiteral("调整历史显示范围"));
    note_->setWordWrap(true);
    note_->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("调整历史（最近 %1 条）").arg(kRows), this));
    top->addStretch();
    top->addWidget(filter_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(tree_, 1);
    layout->addWidget(note_);

    connect(&control_, &QxMavoWinWidget::timetableChanged, this, &HistoryPanel::reload);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, &HistoryPanel::entryChosen);
    connect(filter_, &QComboBox::currentIndexChanged, this, &HistoryPanel::reload);
    // A filtered panel follows the class or teacher on screen.
    for (const char* name : {"cmbBj", "cmbJs"})
        if (auto* selector = control_.findChild<QComboBox*>(QLatin1String(name)))
            // Queued: a user's choice shows in the box before the control has taken it.
            connect(
                selector, &QComboBox::currentIndexChanged, this,
                [this] {
                    if (filter_->currentIndex() != static_cast<int>(Filter::All))
                        reload();
                },
                Qt::QueuedConnection);
}

void HistoryPanel::setFilter(Filter filter) { filter_->setCurrentIndex(static_cast<int>(filter)); }

void HistoryPanel::reload()
{
    // The entries are written afresh; the selection follows its row of kcb_log.
    const QTreeWidgetItem* current = tree_->currentItem();
    const QVariant selectedSeq = current && current->isSelected() ? current->data(0, kSeqRole) : QVariant();
    tree_->clearSelection();
    tree_->setCurrentItem(nullptr);
    tree_->clear();
    note_->hide();
    QX_MavoWin& c = control_.control();
    if (!c.hasConnection())
        return;
    try {
        if (!c.changeLog().present()) {
            note_->setText(QStringLiteral("数据库中没有 kcb_log 表，不记录调整历史。"));
            note_->show();
            return;
        }
        const auto filter = static_cast<Filter>(filter_->currentIndex());
        QString classId, teacherId;
        if (filter != Filter::All) {
            const Side side = filter == Filter::ChosenClass ? Side::Class : Side::Teacher;
            const std::optional<QString> id = currentSelectorId(c.state(), side);
            if (!id || id->isEmpty())
                return; // nothing on screen, nothing of it to show
            (side == Side::Class ? classId : teacherId) = *id;
        }
        for (const ChangeEntry& e : c.changeLog().recent(joinText(c.session().XnId), kRows, classId, teacherId)) {
            auto* item =
                new QTreeWidgetItem(tree_, {e.at.toLocalTime().toString(QStringLiteral("MM-dd HH:mm:ss")), whatText(e),
                                            e.course, e.className, e.teacher, slotsText(e), whoText(e)});
            item->setData(0, Qt::UserRole, e.lessonId);
            item->setData(0, kSeqRole, e.seq);
            if (selectedSeq.isValid() && selectedSeq.toLongLong() == e.seq) {
                tree_->setCurrentItem(item);
                item->setSelected(true);
            }
        }
    } catch (const std::exception& e) {
        note_->setText(QStringLiteral("读取调整历史失败：%1").arg(describe(e)));
        note_->show();
    }
}

QString HistoryPanel::note() const { return note_->isHidden() ? QString() : note_->text(); }

void HistoryPanel::entryChosen(QTreeWidgetItem* item)
{
    const QString lessonId = item->data(0, Qt::UserRole).toString();
    const bool shown = control_.control().ShowLesson(lessonId);
    control_.syncFromSurface();
    note_->setText(QStringLiteral("这节课已不在课表中。"));
    note_->setVisible(!shown);
}

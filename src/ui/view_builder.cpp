// Building the widgets that draw the surface, and what shows each surface
// object on them.
#include "control/timetable_watch.h"
#include "ui/cell_grid.h"
#include "ui/cell_widget.h"
#include "ui/frame_box.h"
#include "ui/header_bar.h"
#include "ui/heading_column.h"
#include "ui/help_box.h"
#include "ui/plan_list_widget.h"
#include "ui/tile_widget.h"
#include "ui/widget_placement.h"
#include "ui/widget_private.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace qxui;

namespace {

// The status line's left edge, that of the class plan list's frame (twips).
constexpr double kStatusLeft = 60;
// The cell frame's margin below its last row, as the cells' own gap.
constexpr double kCellFrameMargin = 15;

// A selector's caption stands in the gap to the left of it; it is design
// text, not a control the logic touches.
QLabel* captionBeside(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

void QxMavoWinWidget::Private::buildGrid(GridWidgets& g, GridSurface& surface, bool classSide)
{
    g.surface = &surface;
    g.outer = addView<FrameBox>(q, surface.outer);
    g.headings = new HeadingColumn(g.outer, surface);
    g.headings->setObjectName(surface.headingFrame.Name);
    g.cellFrame = new CellGrid(g.outer, *this, surface);
    g.cellFrame->setObjectName(surface.cellFrame.Name);
    show(surface.cellFrame, g.cellFrame);
    // The header bar lies over the tops of the heading and cell frames.
    g.bar = new HeaderBar(g.outer, surface);
    g.bar->setObjectName(surface.headerBar.Name);
    show(surface.headerBar, g.bar);
    show(surface.corner, g.bar);
    // The heading column draws the headings and lines, however many come.
    auto showHeadings = [this, &g] {
        show(g.surface->headingFrame, g.headings);
        for (int i = 0; i < g.surface->headings.Count(); ++i)
            show(g.surface->headings[i], g.headings);
        for (int i = 0; i < g.surface->lines.Count(); ++i)
            show(g.surface->lines[i], g.headings);
        g.headings->refresh(scale);
    };
    views[&surface.headings] = views[&surface.lines] = showHeadings;
    showHeadings();

    Surface& s = control.surface();
    g.tiles = {addView<TileWidget>(g.cellFrame, classSide ? s.cBj : s.CJs),
               addView<TileWidget>(g.cellFrame, classSide ? s.eBj : s.eJs)};
    for (int d = 1; d <= 7; ++d) {
        views[&surface.column(d)] = [this, &g, d] { addCells(g, d); };
        addCells(g, d);
    }
}

// Views for the cells of a weekday column that have none yet.
void QxMavoWinWidget::Private::addCells(GridWidgets& g, int weekday)
{
    ControlArray<Label>& column = g.surface->column(weekday);
    const bool added = g.cellFrame->rows(weekday) < column.Count();
    while (g.cellFrame->rows(weekday) < column.Count()) {
        const int index = g.cellFrame->rows(weekday);
        auto* cell = new CellWidget(*g.cellFrame, *this, column[index], g.surface->side, weekday, index);
        cell->setObjectName(QStringLiteral("%1_%2").arg(column.name()).arg(index));
        g.cellFrame->addCell(cell);
        show(column[index], cell);
        cell->refresh(scale);
    }
    // The tiles move over the cells.
    if (added) {
        for (TileWidget* tile : g.tiles)
            tile->raise();
        fitFrames(g);
    }
}

// The rows the grid was built with reach a little below its frames (their
// height is worked out from the heading frame's); the cell frame and the
// outer frame stretch on screen to show the last row whole.
void QxMavoWinWidget::Private::fitFrames(GridWidgets& g)
{
    const GridSurface& grid = *g.surface;
    double bottom = 0;
    for (int d = 1; d <= 7; ++d) {
        const ControlArray<Label>& column = grid.columns[static_cast<size_t>(d - 1)];
        for (int i = 0; i < column.Count(); ++i)
            if (column[i].Visible)
                bottom = std::max(bottom, column[i].Top + column[i].Height);
    }
    const double cellExtra = std::max(0.0, bottom + kCellFrameMargin - grid.cellFrame.Height);
    const double outerExtra = std::max(0.0, grid.cellFrame.Top + grid.cellFrame.Height + cellExtra - grid.outer.Height);
    g.cellFrame->setExtraHeight(cellExtra);
    g.outer->setExtraHeight(outerExtra);
    g.cellFrame->refresh(scale);
    g.outer->refresh(scale);
}

void QxMavoWinWidget::Private::addCombo(ComboBox& model, QWidget* parent, const QString& caption)
{
    auto* view = new QComboBox(parent);
    view->setObjectName(model.Name);
    view->setEditable(false);
    view->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    // Only a user's choice runs the choice handling; re-syncs are silent.
    QObject::connect(view, &QComboBox::activated, q,
                     [this, &model](int index) { run([&] { model.setListIndex(index); }); });
    QLabel* label = captionBeside(parent, caption);
    // Assistive tools read the caption as the selector's label.
    label->setBuddy(view);
    view->setAccessibleDescription(QStringLiteral("选择") + caption);
    views[&model] = [this, &model, view, label, entriesShown = ~0u]() mutable {
        placeWidget(*view, scale.rect(model.Left, model.Top, model.Width, model.Height));
        placeWidget(*label, scale.rect(model.Left - 390, model.Top, 360, model.Height));
        if (entriesShown != model.entriesRevision()) {
            entriesShown = model.entriesRevision();
            view->clear();
            view->addItems(QStringList(model.entries().begin(), model.entries().end()));
        }
        if (view->currentIndex() != model.ListIndex())
            view->setCurrentIndex(model.ListIndex());
    };
}

void QxMavoWinWidget::Private::addCheck(CheckBox& model, QWidget* parent)
{
    auto* view = new QCheckBox(model.Caption, parent);
    view->setObjectName(model.Name);
    QObject::connect(view, &QCheckBox::clicked, q, [this, &model](bool checked) {
        if (!syncing)
            model.Value = checked ? 1 : 0;
    });
    views[&model] = [this, &model, view] {
        placeWidget(*view, scale.rect(model.Left, model.Top, model.Width, model.Height));
        view->setText(model.Caption);
        view->setChecked(model.Value == 1);
    };
}

QPushButton* QxMavoWinWidget::Private::addButton(CommandButton& model, QWidget* parent, void (QX_MavoWin::*handler)())
{
    auto* view = new QPushButton(model.Caption, parent);
    view->setObjectName(model.Name);
    QObject::connect(view, &QPushButton::clicked, q, [this, handler] { run([&] { (control.*handler)(); }); });
    views[&model] = [this, &model, view] {
        placeWidget(*view, scale.rect(model.Left, model.Top, model.Width, model.Height));
        showWidget(*view, model.Visible);
        view->setText(model.Caption);
    };
    return view;
}

void QxMavoWinWidget::Private::build()
{
    Surface& s = control.surface();
    buildGrid(classGrid, s.classGrid, true);
    buildGrid(teacherGrid, s.teacherGrid, false);

    addCombo(s.cmbJb, classGrid.outer, QStringLiteral("级别"));
    addCombo(s.cmbNj, classGrid.outer, QStringLiteral("年级"));
    addCombo(s.cmbBj, classGrid.outer, QStringLiteral("班级"));
    addCombo(s.cmbJs, teacherGrid.outer, QStringLiteral("教师"));

    txtJm = new QLineEdit(teacherGrid.outer);
    txtJm->setObjectName(s.txtJm.Name);
    QLabel* jmLabel = captionBeside(teacherGrid.outer, QStringLiteral("简码"));
    jmLabel->setBuddy(txtJm);
    txtJm->setAccessibleName(jmLabel->text());
    txtJm->setAccessibleDescription(QStringLiteral("输入教师简码后按回车"));
    QObject::connect(txtJm, &QLineEdit::textEdited, q, [this](const QString& text) {
        if (!syncing)
            control.surface().txtJm.Text = text;
    });
    QObject::connect(txtJm, &QLineEdit::returnPressed, q, [this] {
        run([&] {
            int keyAscii = 13;
            control.txtJmKeyPress(keyAscii);
        });
    });
    views[&s.txtJm] = [this, &box = s.txtJm, jmLabel] {
        placeWidget(*txtJm, scale.rect(box.Left, box.Top, box.Width, box.Height));
        placeWidget(*jmLabel, scale.rect(box.Left - 390, box.Top, 360, box.Height));
        showWidget(*txtJm, box.Visible);
        // Setting the text the user is typing would move the cursor to its end.
        if (txtJm->text() != box.Text)
            txtJm->setText(box.Text);
    };

    addCheck(s.chkJs, classGrid.outer);
    addCheck(s.chkKcBj, classGrid.outer);
    addCheck(s.chkBj, teacherGrid.outer);
    addCheck(s.chkKcJs, teacherGrid.outer);
    cmdDelBj = addButton(s.cmdDelBj, classGrid.outer, &QX_MavoWin::cmdDelBjClick);
    cmdDeljs = addButton(s.cmdDeljs, teacherGrid.outer, &QX_MavoWin::cmdDeljsClick);
    // Two buttons read "删除"; their names tell them apart.
    cmdDelBj->setAccessibleName(QStringLiteral("删除班级课表中分析的课"));
    cmdDeljs->setAccessibleName(QStringLiteral("删除教师课表中分析的课"));

    planFrameBj = addView<FrameBox>(q, s.FrajxjhBj);
    planFrameJs = addView<FrameBox>(q, s.Frajxjhjs);
    EventSink& sink = *this;
    lstBj = addView<PlanListWidget>(planFrameBj, s.lstBj, sink);
    lstJs = addView<PlanListWidget>(planFrameJs, s.lstJs, sink);
    txtHelp = addView<HelpBox>(q, s.txtHelp, sink);
    lstBj->setAccessibleName(s.FrajxjhBj.Caption);
    lstJs->setAccessibleName(s.Frajxjhjs.Caption);
    // A hint that a click hides, not a stop of the focus chain; its text
    // is also the description of the plan entry it explains.
    txtHelp->setFocusPolicy(Qt::NoFocus);
    setTabOrder();

    buildStatusLine();
    buildEditActions();
    control.setPause([this](double seconds) { pause(seconds); });
    control.messages().setPresenter([this](const MessageBoxRecord& box) { presentMessage(box); });
    // Changes the core makes outside a user's event show once the event
    // loop comes round.
    s.changes().setOnFirstChange([this] {
        QMetaObject::invokeMethod(
            q, [this] { sync(); }, Qt::QueuedConnection);
    });
    QObject::connect(&control.watch(), &TimetableWatch::changeShown, q, [this] {
        sync();
        emit q->timetableChanged();
    });
    control.setConnectionLostHandler([this] { emit q->connectionLost(); });
    built = true;
}

// The status line under the plan lists, across both sides, with 执行 at its
// right end while a chain is offered; and the offered chain's cells.
void QxMavoWinWidget::Private::buildStatusLine()
{
    Surface& s = control.surface();
    labStatus = new QLabel(q);
    labStatus->setObjectName(QStringLiteral("labStatus"));
    labStatus->setTextFormat(Qt::PlainText);
    labStatus->setAccessibleName(QStringLiteral("状态"));
    // Both stand below the plan lists, which take a tall window's spare height.
    views[&s.statusLine] = [this, &s] {
        const QRect at =
            scale.rect(kStatusLeft, s.cmdChain.Top + planExtra, s.cmdChain.Left - kStatusLeft - 60, s.cmdChain.Height);
        placeWidget(*labStatus, at);
        // One line: what does not fit is in the tooltip.
        const QString text = s.statusText;
        labStatus->setText(labStatus->fontMetrics().elidedText(text, Qt::ElideRight, at.width()));
        labStatus->setToolTip(text);
        labStatus->setAccessibleDescription(text);
    };
    cmdChain = addButton(s.cmdChain, q, &QX_MavoWin::cmdChainClick);
    views[&s.cmdChain] = [this, &s] {
        placeWidget(*cmdChain,
                    scale.rect(s.cmdChain.Left, s.cmdChain.Top + planExtra, s.cmdChain.Width, s.cmdChain.Height));
        showWidget(*cmdChain, s.cmdChain.Visible);
        cmdChain->setText(s.cmdChain.Caption);
    };
    cmdChain->setAccessibleName(QStringLiteral("执行调课方案"));
    views[&s.chainPreview] = [this, &s] {
        for (GridWidgets* g : {&classGrid, &teacherGrid}) {
            for (int d = 1; d <= 7; ++d) {
                for (int i = 0; i < g->cellFrame->rows(d); ++i) {
                    int arriving = 0, leaving = 0;
                    for (const ChainMark& m : s.chainPreview.marks())
                        if (m.side == g->surface->side && m.weekday == d && m.index == i)
                            (m.arrival ? arriving : leaving) = m.number;
                    g->cellFrame->cell(d, i)->setChainMoves(arriving, leaving);
                }
            }
        }
        emit q->chainsOffered();
    };
}

// The selectors, the short-code box, the check boxes, the two grids, the
// delete buttons and the two plan lists, in this order.
void QxMavoWinWidget::Private::setTabOrder()
{
    QWidget* previous = nullptr;
    for (const char* name : {"cmbJb", "cmbNj", "cmbBj", "cmbJs", "txtJm", "chkJs", "chkKcBj", "chkBj", "chkKcJs"}) {
        QWidget* next = q->findChild<QWidget*>(QLatin1String(name));
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
    for (QWidget* next : std::initializer_list<QWidget*>{classGrid.cellFrame, teacherGrid.cellFrame, cmdDelBj, cmdDeljs,
                                                         lstBj, lstJs}) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

void QxMavoWinWidget::Private::buildEditActions()
{
    undo = new QAction(q);
    undo->setObjectName(QStringLiteral("actionUndo"));
    undo->setShortcuts(QKeySequence::Undo);
    redo = new QAction(q);
    redo->setObjectName(QStringLiteral("actionRedo"));
    // Both common redo keys, whatever the platform's own list holds.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        if (!redoKeys.contains(key))
            redoKeys << key;
    redo->setShortcuts(redoKeys);
    for (QAction* action : {undo, redo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        q->addAction(action);
    }
    QObject::connect(undo, &QAction::triggered, q, [this] { run([&] { control.Undo(); }); });
    QObject::connect(redo, &QAction::triggered, q, [this] { run([&] { control.Redo(); }); });
    control.history().setOnChanged([this] {
        updateEditActions();
        emit q->timetableChanged();
    });
    updateEditActions();
}

void QxMavoWinWidget::Private::updateEditActions()
{
    const QString undoText = control.UndoText();
    const QString redoText = control.RedoText();
    undo->setText(undoText.isEmpty() ? QStringLiteral("撤销") : QStringLiteral("撤销 ") + undoText);
    redo->setText(redoText.isEmpty() ? QStringLiteral("重做") : QStringLiteral("重做 ") + redoText);
    undo->setEnabled(control.CanUndo());
    redo->setEnabled(control.CanRedo());
}

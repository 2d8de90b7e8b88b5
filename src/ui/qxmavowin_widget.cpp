#include "qxmavowin/qxmavowin_widget.h"

#include "control/qx_mavowin.h"

#include "adjust/chain_offer.h"
#include "state/busy_state.h"
#include "state/surface.h"
#include "control/timetable_watch.h"
#include "store/control_error.h"
#include "ui/cell_accessible.h"
#include "ui/surface_widgets.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDrag>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QThread>
#include <array>
#include <cmath>
#include <exception>
#include <unordered_map>

using namespace qxui;

namespace {

// The icon of a message box style (the style's 16, 32, 48 and 64 bits).
QMessageBox::Icon iconOfStyle(int style)
{
    switch (style & 0x70) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct GridWidgets {
    GridSurface* surface = nullptr;
    FrameBox* outer = nullptr;
    HeaderBar* bar = nullptr;
    HeadingColumn* headings = nullptr;
    CellGrid* cellFrame = nullptr;
    std::array<TileWidget*, 2> tiles{};
};

// The design's font; the widget scales it with the surface.
constexpr double kDesignPointSize = 9;
// The smallest font the surface shrinks to on a small screen, in pixels.
constexpr double kSmallestFontPx = 9;
// The status line's left edge, that of the class plan list's frame (twips).
constexpr double kStatusLeft = 60;
// The height, in twips, a large window gives the plan lists beyond the design
// before the grids grow: four more rows.
constexpr double kPlanGrowth = 1200;
// The cell frame's margin below its last row, as the cells' own gap.
constexpr double kCellFrameMargin = 15;

// What the keyboard carries between a pick-up and its drop: a grid's lesson
// (its cell) or a plan list's entry. It is presentation only: the control
// learns of it through the same drag-over and drop as from the mouse.
struct Carry {
    CellWidget* cell = nullptr;
    PlanListWidget* list = nullptr;
    bool active() const { return cell || list; }
};

// A selector's caption stands in the gap to the left of it; it is design
// text, not a control the logic touches.
QLabel* captionBeside(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

struct QxMavoWinWidget::Private final : EventSink {
    explicit Private(QxMavoWinWidget* owner) : q(owner) {}

    QxMavoWinWidget* q;
    QX_MavoWin control;
    TwipScale scale;
    double zoom = 1;      // the host's size over the design size
    double planExtra = 0; // twips of height the plan lists have beyond the design
    Carry carry;

    GridWidgets classGrid, teacherGrid;
    QLineEdit* txtJm = nullptr;
    QPushButton* cmdDelBj = nullptr;
    QPushButton* cmdDeljs = nullptr;
    FrameBox* planFrameBj = nullptr;
    FrameBox* planFrameJs = nullptr;
    PlanListWidget* lstBj = nullptr;
    PlanListWidget* lstJs = nullptr;
    HelpBox* txtHelp = nullptr;
    QLabel* labStatus = nullptr;
    QPushButton* cmdChain = nullptr;
    QAction* undo = nullptr;
    QAction* redo = nullptr;

    // What shows each control: called when the control changed, and for
    // all of them when the scale changed.
    std::unordered_map<const SurfaceControl*, std::function<void()>> views;
    std::vector<SurfaceControl*> changed; // reused by every sync
    bool everythingStale = true;          // the next sync shows every control

    bool built = false;
    bool syncing = false;
    int handlerDepth = 0;

    void build();
    void buildEditActions();
    void buildStatusLine();
    void updateEditActions();
    void buildGrid(GridWidgets& g, GridSurface& surface, bool classSide);
    void addCells(GridWidgets& g, int weekday);
    void fitFrames(GridWidgets& g);
    void addCombo(ComboBox& model, QWidget* parent, const QString& caption);
    void addCheck(CheckBox& model, QWidget* parent);
    QPushButton* addButton(CommandButton& model, QWidget* parent, void (QX_MavoWin::*handler)());
    template <typename View> void show(const SurfaceControl& control, View* view)
    {
        views.try_emplace(&control, [this, view] { view->refresh(scale); });
    }
    // A view of one control, named as the control is.
    template <typename View, typename Model, typename... Sink>
    View* addView(QWidget* parent, Model& model, Sink&... sink)
    {
        auto* view = new View(parent, sink..., model);
        view->setObjectName(model.Name);
        show(model, view);
        return view;
    }

    // Shows what changed on the surface since the last sync; everything
    // when the scale changed.
    void sync();

    // Runs one user event's handler, then shows what it changed. Events that
    // arrive while a handler runs (it processes window events during its
    // pauses and message boxes) or while the widgets are being re-synced are
    // not passed on.
    // Runs a call of the host on the control, then shows what it changed.
    // Unlike a user event, its error goes back to the host.
    template <typename Call> QVariant hostCall(Call&& call)
    {
        ++handlerDepth;
        struct Done {
            Private* d;
            ~Done()
            {
                --d->handlerDepth;
                d->sync();
            }
        } done{this};
        return call();
    }

    // Any user action puts down what the keyboard carries. False when the
    // action did not run or failed.
    template <typename Action> bool run(Action&& action)
    {
        if (syncing || handlerDepth > 0)
            return false;
        endCarry();
        control.surface().statusText.clear(); // it told of the action before
        ++handlerDepth;
        std::exception_ptr failure;
        try {
            action();
        } catch (const std::exception&) {
            failure = std::current_exception();
        }
        --handlerDepth;
        sync();
        if (failure)
            reportUnhandled(failure);
        return !failure;
    }

    GridWidgets& gridOf(Side side) { return side == Side::Class ? classGrid : teacherGrid; }
    void startCarry(Carry what);
    void endCarry();
    void dropCarried(CellWidget& target);
    bool clickPlanItem(PlanListWidget& list, int row);
    void fitToSize();
    double smallestZoom() const;
    void setTabOrder();

    void showBox(QMessageBox::Icon icon, const QString& title, const QString& text);
    void reportUnhandled(const std::exception_ptr& failure);
    void pause(double seconds);
    void startDrag(QWidget* source);

    // EventSink
    bool cellKeyPressed(CellWidget& cell, CellKey key) override;
    void planItemEntered(PlanListWidget& list, int row) override;
    void cellRightClicked(const CellWidget& cell) override;
    void cellDragStarted(CellWidget& cell) override;
    void cellDragEntered(const CellWidget& cell) override;
    void cellDropped(const CellWidget& cell) override;
    void planItemPressed(PlanListWidget& list, int row) override;
    void planItemClicked(PlanListWidget& list, int row) override;
    void planDragStarted(PlanListWidget& list, int row) override;
    void helpClicked() override;
};

// ------------------------------------------------------------------ build

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
    control.messages().setPresenter([this](const MessageBoxRecord& box) {
        sync();
        showBox(iconOfStyle(box.style), box.title, box.text);
    });
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

// ------------------------------------------------------------------- sync

void QxMavoWinWidget::Private::sync()
{
    if (syncing || !built)
        return;
    syncing = true;
    const TwipScale now(q->logicalDpiX() * zoom);
    if (!(now == scale) || everythingStale) {
        scale = now;
        everythingStale = false;
        // A view may add views as it goes (a grown grid), which show at once.
        std::vector<const SurfaceControl*> all;
        for (const auto& view : views)
            all.push_back(view.first);
        for (const SurfaceControl* c : all)
            views.at(c)();
    }
    ChangeList& changes = control.surface().changes();
    // Whether a grid shows an analysis is read before its cells show their
    // states; when it changed, every white cell's state did.
    std::pair<CellGrid*, bool> grids[] = {{classGrid.cellFrame, false}, {teacherGrid.cellFrame, false}};
    if (!changes.empty())
        for (auto& [grid, analysisChanged] : grids)
            analysisChanged = grid->readAnalysis();
    while (!changes.empty()) {
        changes.take(changed);
        for (SurfaceControl* c : changed)
            if (auto view = views.find(c); view != views.end())
                view->second();
    }
    for (auto& [grid, analysisChanged] : grids)
        if (analysisChanged)
            grid->updateStates();
    syncing = false;
}

// ------------------------------------------------- pauses and message boxes

void QxMavoWinWidget::Private::pause(double seconds)
{
    sync();
    QElapsedTimer clock;
    clock.start();
    const qint64 wait = static_cast<qint64>(seconds * 1000.0);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (wait - clock.elapsed() > 2)
            QThread::msleep(1);
    } while (clock.elapsed() < wait);
}

void QxMavoWinWidget::Private::showBox(QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, q->window());
    box.setWindowModality(Qt::ApplicationModal);
    // The failure path shows its box while the host window is still
    // disabled; the box itself must take the answer.
    box.setEnabled(true);
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QGuiApplication::restoreOverrideCursor();
}

void QxMavoWinWidget::Private::reportUnhandled(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        emit q->unhandledError(describe(e));
        showUnhandledError(control.state(), e);
    }
}

// --------------------------------------------------------- user events

void QxMavoWinWidget::Private::startDrag(QWidget* source)
{
    auto* drag = new QDrag(source);
    auto* mime = new QMimeData;
    mime->setData(kDragMimeType, QByteArray());
    drag->setMimeData(mime);
    control.dragStart();
    drag->exec(Qt::MoveAction);
    // After the drop, which is queued when the toolkit's drag ends.
    QMetaObject::invokeMethod(
        q, [this] { control.dragEnd(); }, Qt::QueuedConnection);
}

void QxMavoWinWidget::Private::startCarry(Carry what)
{
    carry = what;
    if (carry.cell)
        carry.cell->setCarried(true);
    for (GridWidgets* g : {&classGrid, &teacherGrid})
        g->cellFrame->setCarrying(true);
}

void QxMavoWinWidget::Private::endCarry()
{
    if (!carry.active())
        return;
    if (carry.cell)
        carry.cell->setCarried(false);
    carry = {};
    for (GridWidgets* g : {&classGrid, &teacherGrid})
        g->cellFrame->setCarrying(false);
}

// The same drag-over and drop as the mouse's: the control judges the drop.
void QxMavoWinWidget::Private::dropCarried(CellWidget& target)
{
    run([&] {
        control.cellDragOver(target.side(), target.weekday(), target.index());
        control.cellDragDrop(target.side(), target.weekday(), target.index());
    });
}

bool QxMavoWinWidget::Private::cellKeyPressed(CellWidget& cell, CellKey key)
{
    switch (key) {
    case CellKey::Analyse: cellRightClicked(cell); return true;
    case CellKey::Enter:
        // Enter applies an offered chain, as 执行 does.
        if (!carry.active() && control.chainOffer().previewing) {
            run([&] { control.cmdChainClick(); });
            return true;
        }
        if (carry.active()) {
            dropCarried(cell);
        } else if (run([&] { control.cellDragOver(cell.side(), cell.weekday(), cell.index()); })) {
            // A drag of the mouse begins with the drag-over of its own cell.
            startCarry({&cell, nullptr});
        }
        return true;
    case CellKey::Escape:
        if (!carry.active() && control.chainOffer().previewing) {
            run([&] { control.chainEscape(); });
            return true;
        }
        if (!carry.active())
            return false;
        endCarry();
        return true;
    case CellKey::Delete:
        run([&] { cell.side() == Side::Class ? control.cmdDelBjClick() : control.cmdDeljsClick(); });
        return true;
    }
    return false;
}

void QxMavoWinWidget::Private::planItemEntered(PlanListWidget& list, int row)
{
    if (!clickPlanItem(list, row))
        return;
    // The entry is carried to the list's own grid, where the arrows choose
    // its cell.
    startCarry({nullptr, &list});
    gridOf(&list == lstBj ? Side::Class : Side::Teacher).cellFrame->setFocus(Qt::OtherFocusReason);
}

// The surface keeps its proportions: it scales by the narrower of the two
// ratios of the host's size to the design size, down to the smallest legible
// font. Height to spare below goes to the plan lists, which then show more
// rows; a large window keeps room for four more of them before the grids grow.
void QxMavoWinWidget::Private::fitToSize()
{
    const QSize design = q->sizeHint();
    const double wide = static_cast<double>(q->width()) / design.width();
    const double fits = std::min(wide, static_cast<double>(q->height()) / design.height());
    const double growth = TwipScale(q->logicalDpiX()).pxF(kPlanGrowth);
    const double now = fits <= 1 ? std::max(smallestZoom(), fits)
                                 : std::max(1.0, std::min(wide, q->height() / (design.height() + growth)));
    const double spare =
        std::max(0.0, q->height() - design.height() * now) / TwipScale(q->logicalDpiX() * now).pxPerTwip();
    if (now == zoom && spare == planExtra)
        return;
    planExtra = spare;
    for (FrameBox* frame : {planFrameBj, planFrameJs})
        frame->setExtraHeight(spare);
    for (PlanListWidget* list : {lstBj, lstJs})
        list->setExtraHeight(spare);
    everythingStale = true;
    if (now == zoom) {
        sync();
        return;
    }
    zoom = now;
    QFont f = q->font();
    f.setPointSizeF(kDesignPointSize * zoom);
    q->setFont(f); // shows the surface at the new scale
    sync();
}

double QxMavoWinWidget::Private::smallestZoom() const
{
    const double designPx = kDesignPointSize * q->logicalDpiY() / 72.0;
    return std::min(1.0, kSmallestFontPx / designPx);
}

void QxMavoWinWidget::Private::cellRightClicked(const CellWidget& cell)
{
    run([&] { control.cellClick(cell.side(), cell.weekday(), cell.index()); });
}

void QxMavoWinWidget::Private::cellDragStarted(CellWidget& cell)
{
    if (handlerDepth > 0)
        return;
    // The first drag-over of a drag is reported for the cell it began on.
    run([&] { control.cellDragOver(cell.side(), cell.weekday(), cell.index()); });
    startDrag(&cell);
}

void QxMavoWinWidget::Private::cellDragEntered(const CellWidget& cell)
{
    run([&] { control.cellDragOver(cell.side(), cell.weekday(), cell.index()); });
}

void QxMavoWinWidget::Private::cellDropped(const CellWidget& cell)
{
    // The drop animates and processes window events; it runs once the
    // toolkit's drag has ended rather than inside its event loop.
    const Side side = cell.side();
    const int weekday = cell.weekday();
    const int index = cell.index();
    QMetaObject::invokeMethod(
        q, [this, side, weekday, index] { run([&] { control.cellDragDrop(side, weekday, index); }); },
        Qt::QueuedConnection);
}

void QxMavoWinWidget::Private::planItemPressed(PlanListWidget& list, int row)
{
    if (!syncing && handlerDepth == 0)
        list.list().SelectedIndex = row;
}

bool QxMavoWinWidget::Private::clickPlanItem(PlanListWidget& list, int row)
{
    return run([&] {
        list.list().SelectedIndex = row;
        control.planItemClick(list.list(), row);
    });
}

void QxMavoWinWidget::Private::planItemClicked(PlanListWidget& list, int row) { clickPlanItem(list, row); }

void QxMavoWinWidget::Private::planDragStarted(PlanListWidget& list, int row)
{
    if (syncing || handlerDepth > 0)
        return;
    list.list().SelectedIndex = row;
    sync();
    startDrag(&list);
}

void QxMavoWinWidget::Private::helpClicked()
{
    run([&] { control.txtHelpClick(); });
}

// --------------------------------------------------------------- public

QxMavoWinWidget::QxMavoWinWidget(QWidget* parent) : QWidget(parent), d(std::make_unique<Private>(this))
{
    // Cells tell assistive tools their state; one factory serves every widget.
    [[maybe_unused]] static const bool cellsAccessible = (QAccessible::installFactory(cellAccessibility), true);
    QFont f = font();
    f.setPointSizeF(kDesignPointSize);
    setFont(f);
    d->build();
    d->sync();
}

QxMavoWinWidget::~QxMavoWinWidget()
{
    // The control may outlive nothing that points back into the widgets.
    d->control.setPause({});
    d->control.messages().setPresenter({});
    d->control.history().setOnChanged({});
    d->control.surface().changes().setOnFirstChange({});
    d->control.setConnectionLostHandler({});
}

QVariant QxMavoWinWidget::QxIni(const QSqlDatabase& DB_Conn, const QString& S_Xn, const QString& S_Xq,
                                const QString& S_PkName, HostWindow* S_Form, qint16 S_DataType)
{
    return d->hostCall([&] { return d->control.QxIni(DB_Conn, S_Xn, S_Xq, S_PkName, S_Form, S_DataType); });
}

QVariant QxMavoWinWidget::invoke(int memberId, const QVariantList& args)
{
    return d->hostCall([&] { return d->control.invoke(memberId, args); });
}

QString QxMavoWinWidget::CreateGUID() { return d->control.CreateGUID(); }
QString QxMavoWinWidget::CreateGUIDEx() { return d->control.CreateGUIDEx(); }

QX_MavoWin& QxMavoWinWidget::control() { return d->control; }

bool QxMavoWinWidget::showLesson(const LessonRef& lesson)
{
    return d->hostCall([&] { return d->control.ShowLesson(lesson); }).toBool();
}

void QxMavoWinWidget::reconnect(const QSqlDatabase& db)
{
    d->hostCall([&] {
        d->control.Reconnect(db);
        return QVariant();
    });
    d->sync();
}

bool QxMavoWinWidget::isConnectionLost() const { return d->control.ConnectionLost(); }

void QxMavoWinWidget::setLiveRefresh(bool on) { d->control.SetLiveRefresh(on); }
bool QxMavoWinWidget::liveRefresh() const { return d->control.LiveRefresh(); }
void QxMavoWinWidget::setDeskName(const QString& name) { d->control.SetDeskName(name); }
QString QxMavoWinWidget::deskName() const { return d->control.DeskName(); }

QAction* QxMavoWinWidget::undoAction() const { return d->undo; }
QAction* QxMavoWinWidget::redoAction() const { return d->redo; }

void QxMavoWinWidget::setStateMarks(bool on)
{
    for (GridWidgets* g : {&d->classGrid, &d->teacherGrid})
        g->cellFrame->setMarks(on);
}

bool QxMavoWinWidget::stateMarks() const { return d->classGrid.cellFrame->marks(); }

void QxMavoWinWidget::syncFromSurface() { d->sync(); }

QWidget* QxMavoWinWidget::cellWidget(Side side, int weekday, int index) const
{
    return d->gridOf(side).cellFrame->cell(weekday, index);
}

bool QxMavoWinWidget::applyChain(int k)
{
    const std::vector<Chain>& chains = d->control.chainOffer().chains;
    if (k < 0 || k >= static_cast<int>(chains.size()))
        return false;
    const Chain chain = chains[static_cast<size_t>(k)];
    bool applied = false;
    d->run([&] { applied = ApplyChain(d->control.state(), d->control.chainOffer(), chain); });
    return applied;
}

QSize QxMavoWinWidget::sizeHint() const
{
    const Surface& s = d->control.surface();
    double right = 0, bottom = 0;
    for (const Frame* f : {&s.classGrid.outer, &s.teacherGrid.outer, &s.FrajxjhBj, &s.Frajxjhjs}) {
        right = std::max(right, f->Left + f->Width);
        bottom = std::max(bottom, f->Top + f->Height);
    }
    // The status line under the plan lists.
    bottom = std::max(bottom, s.cmdChain.Top + s.cmdChain.Height);
    const TwipScale scale(logicalDpiX());
    return {scale.px(right + 60), scale.px(bottom + 60)};
}

int QxMavoWinWidget::usedWidth() const { return static_cast<int>(std::ceil(sizeHint().width() * d->zoom)); }

QSize QxMavoWinWidget::minimumSizeHint() const
{
    const QSize design = sizeHint();
    const double smallest = d->smallestZoom();
    return {static_cast<int>(std::ceil(design.width() * smallest)),
            static_cast<int>(std::ceil(design.height() * smallest))};
}

void QxMavoWinWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        d->everythingStale = true;
        d->sync();
    }
    QWidget::changeEvent(event);
}

void QxMavoWinWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    d->fitToSize();
}

bool QxMavoWinWidget::event(QEvent* event)
{
    // Another screen may have another logical DPI: lay the surface out anew.
    if (event->type() == QEvent::ScreenChangeInternal) {
        d->sync();
        updateGeometry();
    }
    return QWidget::event(event);
}

// ------------------------------------------------------- WidgetHostWindow

WidgetHostWindow::WidgetHostWindow(QWidget* window) : window_(window) {}

WidgetHostWindow::~WidgetHostWindow()
{
    if (cursorOverridden_)
        QGuiApplication::restoreOverrideCursor();
}

void WidgetHostWindow::setMousePointer(int pointer)
{
    HostWindow::setMousePointer(pointer);
    const bool wait = pointer == pointer::Hourglass;
    if (wait && !cursorOverridden_) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        cursorOverridden_ = true;
    } else if (!wait && cursorOverridden_) {
        QGuiApplication::restoreOverrideCursor();
        cursorOverridden_ = false;
    }
}

void WidgetHostWindow::setEnabled(bool enabled)
{
    HostWindow::setEnabled(enabled);
    if (!window_)
        return;
    // A disabled window loses its focus; the keyboard user goes on where
    // the work began.
    if (!enabled && window_->isEnabled())
        focusBeforeBusy_ = window_->focusWidget();
    window_->setEnabled(enabled);
    if (enabled && focusBeforeBusy_) {
        focusBeforeBusy_->setFocus(Qt::OtherFocusReason);
        focusBeforeBusy_ = nullptr;
    }
}

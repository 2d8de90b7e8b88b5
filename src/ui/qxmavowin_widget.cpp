#include "ui/qxmavowin_widget.h"

#include "adjust/show_lesson.h"
#include "control/busy_state.h"
#include "control/surface.h"
#include "control/timetable_watch.h"
#include "store/control_error.h"
#include "ui/surface_widgets.h"

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
#include <exception>

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

struct ComboView {
    ComboBox* model = nullptr;
    QComboBox* view = nullptr;
    std::vector<QString> entries;
    int index = -2;
};

struct GridWidgets {
    GridSurface* surface = nullptr;
    FrameBox* outer = nullptr;
    HeaderBar* bar = nullptr;
    HeadingColumn* headings = nullptr;
    FrameBox* cellFrame = nullptr;
    std::array<std::vector<CellWidget*>, 7> cells;
    TileWidget* first = nullptr;
    TileWidget* second = nullptr;
    CommandButton* firstModel = nullptr;
    CommandButton* secondModel = nullptr;
};

// The caption labels of the selectors; they are design text, not controls
// the logic touches.
struct CaptionLabel {
    QLabel* label = nullptr;
    const ComboBox* combo = nullptr;
    const TextBox* box = nullptr;
};

} // namespace

struct QxMavoWinWidget::Private final : EventSink {
    explicit Private(QxMavoWinWidget* owner) : q(owner) {}

    QxMavoWinWidget* q;
    QX_MavoWin control;
    TwipScale scale;

    GridWidgets classGrid, teacherGrid;
    std::array<ComboView, 4> combos;
    std::vector<CaptionLabel> captions;
    QLineEdit* txtJm = nullptr;
    std::array<std::pair<CheckBox*, QCheckBox*>, 4> checks{};
    QPushButton* cmdDelBj = nullptr;
    QPushButton* cmdDeljs = nullptr;
    FrameBox* planFrameBj = nullptr;
    FrameBox* planFrameJs = nullptr;
    PlanListWidget* lstBj = nullptr;
    PlanListWidget* lstJs = nullptr;
    HelpBox* txtHelp = nullptr;
    QAction* undo = nullptr;
    QAction* redo = nullptr;

    bool built = false;
    bool syncing = false;
    int handlerDepth = 0;

    void build();
    void buildEditActions();
    void updateEditActions();
    void buildGrid(GridWidgets& g, GridSurface& surface, bool classSide);
    QComboBox* addCombo(int slot, ComboBox& model, QWidget* parent, const QString& caption);
    QCheckBox* addCheck(int slot, CheckBox& model, QWidget* parent);
    QPushButton* addButton(CommandButton& model, QWidget* parent, void (QX_MavoWin::*handler)());

    void sync();
    void syncGrid(GridWidgets& g);
    void syncCombo(ComboView& c);

    // Runs one user event's handler, then shows what it changed. Events that
    // arrive while a handler runs (it processes window events during its
    // pauses and message boxes) or while the widgets are being re-synced are
    // not passed on.
    // Runs a call of the host on the control, then shows what it changed.
    // Unlike a user event, its error goes back to the host.
    template <typename Call>
    QVariant hostCall(Call&& call)
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

    template <typename Action>
    void run(Action&& action)
    {
        if (syncing || handlerDepth > 0)
            return;
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
    }

    void showBox(QMessageBox::Icon icon, const QString& title, const QString& text);
    void reportUnhandled(const std::exception_ptr& failure);
    void pause(double seconds);
    void startDrag(QWidget* source);

    // EventSink
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
    g.outer = new FrameBox(q);
    g.outer->setObjectName(surface.outer.Name);
    g.headings = new HeadingColumn(g.outer);
    g.headings->setObjectName(surface.headingFrame.Name);
    g.cellFrame = new FrameBox(g.outer);
    g.cellFrame->setObjectName(surface.cellFrame.Name);
    // The header bar lies over the tops of the heading and cell frames.
    g.bar = new HeaderBar(g.outer);
    g.bar->setObjectName(surface.headerBar.Name);

    Surface& s = control.surface();
    g.firstModel = classSide ? &s.cBj : &s.CJs;
    g.secondModel = classSide ? &s.eBj : &s.eJs;
    g.first = new TileWidget(g.cellFrame);
    g.first->setObjectName(g.firstModel->Name);
    g.second = new TileWidget(g.cellFrame);
    g.second->setObjectName(g.secondModel->Name);
}

QComboBox* QxMavoWinWidget::Private::addCombo(int slot, ComboBox& model, QWidget* parent, const QString& caption)
{
    auto* view = new QComboBox(parent);
    view->setObjectName(model.Name);
    view->setEditable(false);
    view->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    combos[static_cast<size_t>(slot)] = ComboView{&model, view, {}, -2};
    // Only a user's choice runs the choice handling; re-syncs are silent.
    QObject::connect(view, &QComboBox::activated, q, [this, &model](int index) {
        run([&] { model.setListIndex(index); });
    });
    auto* label = new QLabel(caption, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    captions.push_back({label, &model, nullptr});
    return view;
}

QCheckBox* QxMavoWinWidget::Private::addCheck(int slot, CheckBox& model, QWidget* parent)
{
    auto* view = new QCheckBox(model.Caption, parent);
    view->setObjectName(model.Name);
    checks[static_cast<size_t>(slot)] = {&model, view};
    QObject::connect(view, &QCheckBox::clicked, q, [this, &model](bool checked) {
        if (!syncing)
            model.Value = checked ? 1 : 0;
    });
    return view;
}

QPushButton* QxMavoWinWidget::Private::addButton(CommandButton& model, QWidget* parent, void (QX_MavoWin::*handler)())
{
    auto* view = new QPushButton(model.Caption, parent);
    view->setObjectName(model.Name);
    QObject::connect(view, &QPushButton::clicked, q, [this, handler] { run([&] { (control.*handler)(); }); });
    return view;
}

void QxMavoWinWidget::Private::build()
{
    Surface& s = control.surface();
    buildGrid(classGrid, s.classGrid, true);
    buildGrid(teacherGrid, s.teacherGrid, false);

    addCombo(0, s.cmbJb, classGrid.outer, QStringLiteral("级别"));
    addCombo(1, s.cmbNj, classGrid.outer, QStringLiteral("年级"));
    addCombo(2, s.cmbBj, classGrid.outer, QStringLiteral("班级"));
    addCombo(3, s.cmbJs, teacherGrid.outer, QStringLiteral("教师"));

    txtJm = new QLineEdit(teacherGrid.outer);
    txtJm->setObjectName(s.txtJm.Name);
    auto* jmLabel = new QLabel(QStringLiteral("简码"), teacherGrid.outer);
    jmLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    captions.push_back({jmLabel, nullptr, &s.txtJm});
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

    addCheck(0, s.chkJs, classGrid.outer);
    addCheck(1, s.chkKcBj, classGrid.outer);
    addCheck(2, s.chkBj, teacherGrid.outer);
    addCheck(3, s.chkKcJs, teacherGrid.outer);
    cmdDelBj = addButton(s.cmdDelBj, classGrid.outer, &QX_MavoWin::cmdDelBjClick);
    cmdDeljs = addButton(s.cmdDeljs, teacherGrid.outer, &QX_MavoWin::cmdDeljsClick);

    planFrameBj = new FrameBox(q);
    planFrameBj->setObjectName(s.FrajxjhBj.Name);
    planFrameJs = new FrameBox(q);
    planFrameJs->setObjectName(s.Frajxjhjs.Name);
    lstBj = new PlanListWidget(planFrameBj, *this, s.lstBj);
    lstBj->setObjectName(s.lstBj.Name);
    lstJs = new PlanListWidget(planFrameJs, *this, s.lstJs);
    lstJs->setObjectName(s.lstJs.Name);

    txtHelp = new HelpBox(q, *this);
    txtHelp->setObjectName(s.txtHelp.Name);

    buildEditActions();
    control.setPause([this](double seconds) { pause(seconds); });
    control.messages().setPresenter([this](const MessageBoxRecord& box) {
        sync();
        showBox(iconOfStyle(box.style), box.title, box.text);
    });
    QObject::connect(&control.watch(), &TimetableWatch::changeShown, q, [this] {
        sync();
        emit q->timetableChanged();
    });
    built = true;
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

void QxMavoWinWidget::Private::syncCombo(ComboView& c)
{
    const ComboBox& m = *c.model;
    if (c.entries != m.entries()) {
        c.entries = m.entries();
        c.view->clear();
        QStringList items;
        items.reserve(static_cast<qsizetype>(c.entries.size()));
        for (const QString& e : c.entries)
            items << e;
        c.view->addItems(items);
        c.index = -2;
    }
    if (c.index != m.ListIndex() || c.view->currentIndex() != m.ListIndex()) {
        c.index = m.ListIndex();
        c.view->setCurrentIndex(c.index);
    }
}

void QxMavoWinWidget::Private::syncGrid(GridWidgets& g)
{
    GridSurface& s = *g.surface;
    g.outer->sync(s.outer, scale);
    g.bar->sync(s, scale);
    g.headings->sync(s, scale);
    g.cellFrame->sync(s.cellFrame, scale);

    bool added = false;
    for (int d = 1; d <= 7; ++d) {
        ControlArray<Label>& column = s.column(d);
        auto& views = g.cells[static_cast<size_t>(d - 1)];
        while (static_cast<int>(views.size()) < column.Count()) {
            const int index = static_cast<int>(views.size());
            auto* cell = new CellWidget(g.cellFrame, *this, s.side, d, index);
            cell->setObjectName(QStringLiteral("%1_%2").arg(column.name()).arg(index));
            views.push_back(cell);
            added = true;
        }
        for (int i = 0; i < column.Count(); ++i)
            views[static_cast<size_t>(i)]->sync(column[i], scale);
    }
    g.first->sync(*g.firstModel, scale);
    g.second->sync(*g.secondModel, scale);
    if (added) {
        g.first->raise();
        g.second->raise();
    }
}

void QxMavoWinWidget::Private::sync()
{
    if (syncing || !built)
        return;
    syncing = true;
    Surface& s = control.surface();
    scale = TwipScale(q->logicalDpiX());

    syncGrid(classGrid);
    syncGrid(teacherGrid);

    for (ComboView& c : combos) {
        placeWidget(*c.view, scale.rect(c.model->Left, c.model->Top, c.model->Width, c.model->Height));
        syncCombo(c);
    }
    placeWidget(*txtJm, scale.rect(s.txtJm.Left, s.txtJm.Top, s.txtJm.Width, s.txtJm.Height));
    showWidget(*txtJm, s.txtJm.Visible);
    if (txtJm->text() != s.txtJm.Text)
        txtJm->setText(s.txtJm.Text);
    // A selector's caption stands in the gap to the left of it.
    for (const CaptionLabel& c : captions) {
        const double left = c.combo ? c.combo->Left : c.box->Left;
        const double top = c.combo ? c.combo->Top : c.box->Top;
        const double height = c.combo ? c.combo->Height : c.box->Height;
        placeWidget(*c.label, scale.rect(left - 390, top, 360, height));
    }
    for (auto& [model, view] : checks) {
        placeWidget(*view, scale.rect(model->Left, model->Top, model->Width, model->Height));
        const bool ticked = model->Value == 1;
        if (view->isChecked() != ticked)
            view->setChecked(ticked);
    }
    for (auto [model, view] : {std::pair{&s.cmdDelBj, cmdDelBj}, std::pair{&s.cmdDeljs, cmdDeljs}}) {
        placeWidget(*view, scale.rect(model->Left, model->Top, model->Width, model->Height));
        showWidget(*view, model->Visible);
        if (view->text() != model->Caption)
            view->setText(model->Caption);
    }

    planFrameBj->sync(s.FrajxjhBj, scale);
    planFrameJs->sync(s.Frajxjhjs, scale);
    lstBj->sync(scale);
    lstJs->sync(scale);
    txtHelp->sync(s.txtHelp, scale);
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
        showUnhandledError(control, e);
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
    QMetaObject::invokeMethod(q, [this] { control.dragEnd(); }, Qt::QueuedConnection);
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

void QxMavoWinWidget::Private::planItemClicked(PlanListWidget& list, int row)
{
    run([&] {
        list.list().SelectedIndex = row;
        control.planItemClick(list.list(), row);
    });
}

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
    QFont f = font();
    f.setPointSize(9);
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
    return d->hostCall([&] { return ShowLesson(d->control, lesson); }).toBool();
}

QAction* QxMavoWinWidget::undoAction() const { return d->undo; }
QAction* QxMavoWinWidget::redoAction() const { return d->redo; }

void QxMavoWinWidget::syncFromSurface() { d->sync(); }

QWidget* QxMavoWinWidget::cellWidget(Side side, int weekday, int index) const
{
    if (weekday < 1 || weekday > 7 || index < 0)
        return nullptr;
    const GridWidgets& g = side == Side::Class ? d->classGrid : d->teacherGrid;
    const auto& column = g.cells[static_cast<size_t>(weekday - 1)];
    return index < static_cast<int>(column.size()) ? column[static_cast<size_t>(index)] : nullptr;
}

QSize QxMavoWinWidget::sizeHint() const
{
    const Surface& s = d->control.surface();
    double right = 0, bottom = 0;
    for (const Frame* f : {&s.classGrid.outer, &s.teacherGrid.outer, &s.FrajxjhBj, &s.Frajxjhjs}) {
        right = std::max(right, f->Left + f->Width);
        bottom = std::max(bottom, f->Top + f->Height);
    }
    const TwipScale scale(logicalDpiX());
    return {scale.px(right + 60), scale.px(bottom + 60)};
}

QSize QxMavoWinWidget::minimumSizeHint() const { return sizeHint(); }

void QxMavoWinWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        d->sync();
    QWidget::changeEvent(event);
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
    if (window_)
        window_->setEnabled(enabled);
}

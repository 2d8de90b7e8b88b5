// The widget's public members: the host's calls on the control, its sizes
// and its answers to the toolkit's size, font and screen changes.
#include "qxmavowin/qxmavowin_widget.h"

#include "adjust/chain_offer.h"
#include "ui/cell_accessible.h"
#include "ui/cell_grid.h"
#include "ui/cell_widget.h"
#include "ui/widget_private.h"

#include <QAccessible>
#include <QEvent>
#include <algorithm>
#include <cmath>

using namespace qxui;

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

#pragma once

// The state behind QxMavoWinWidget: the control, the widgets that draw its
// surface and what shows each surface object. Each group of members below is
// defined in the source its heading names.

#include "control/qx_mavowin.h"
#include "qxmavowin/qxmavowin_widget.h"
#include "state/surface.h"
#include "ui/event_sink.h"
#include "ui/keyboard_carry.h"
#include "ui/twips.h"

#include <QMessageBox>
#include <QVariant>
#include <array>
#include <exception>
#include <functional>
#include <unordered_map>
#include <vector>

struct MessageBoxRecord;

namespace qxui {

class CellGrid;
class FrameBox;
class HeaderBar;
class HeadingColumn;
class HelpBox;
class TileWidget;

// The design's font; the widget scales it with the surface.
constexpr double kDesignPointSize = 9;

// The widgets of one side's grid.
struct GridWidgets {
    GridSurface* surface = nullptr;
    FrameBox* outer = nullptr;
    HeaderBar* bar = nullptr;
    HeadingColumn* headings = nullptr;
    CellGrid* cellFrame = nullptr;
    std::array<TileWidget*, 2> tiles{};
};

} // namespace qxui

struct QxMavoWinWidget::Private final : qxui::EventSink {
    explicit Private(QxMavoWinWidget* owner) : q(owner) {}

    QxMavoWinWidget* q;
    QX_MavoWin control;
    qxui::TwipScale scale;
    double zoom = 1;      // the host's size over the design size
    double planExtra = 0; // twips of height the plan lists have beyond the design
    qxui::Carry carry;

    qxui::GridWidgets classGrid, teacherGrid;
    QLineEdit* txtJm = nullptr;
    QPushButton* cmdDelBj = nullptr;
    QPushButton* cmdDeljs = nullptr;
    qxui::FrameBox* planFrameBj = nullptr;
    qxui::FrameBox* planFrameJs = nullptr;
    qxui::PlanListWidget* lstBj = nullptr;
    qxui::PlanListWidget* lstJs = nullptr;
    qxui::HelpBox* txtHelp = nullptr;
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

    qxui::GridWidgets& gridOf(Side side) { return side == Side::Class ? classGrid : teacherGrid; }

    // Building the widgets (view_builder.cpp)
    void build();
    void buildEditActions();
    void buildStatusLine();
    void updateEditActions();
    void buildGrid(qxui::GridWidgets& g, GridSurface& surface, bool classSide);
    void addCells(qxui::GridWidgets& g, int weekday);
    void fitFrames(qxui::GridWidgets& g);
    void addCombo(ComboBox& model, QWidget* parent, const QString& caption);
    void addCheck(CheckBox& model, QWidget* parent);
    QPushButton* addButton(CommandButton& model, QWidget* parent, void (QX_MavoWin::*handler)());
    void setTabOrder();
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

    // Showing the surface (surface_sync.cpp)

    // Shows what changed on the surface since the last sync; everything
    // when the scale changed.
    void sync();
    void fitToSize();
    double smallestZoom() const;

    // Pauses and message boxes (presenters.cpp)
    void pause(double seconds);
    void presentMessage(const MessageBoxRecord& box);
    void showBox(QMessageBox::Icon icon, const QString& title, const QString& text);
    void reportUnhandled(const std::exception_ptr& failure);

    // Running the control's handlers

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

    // Runs one user event's handler, then shows what it changed. Events that
    // arrive while a handler runs (it processes window events during its
    // pauses and message boxes) or while the widgets are being re-synced are
    // not passed on. Any user action puts down what the keyboard carries.
    // False when the action did not run or failed.
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

    // The user's events (event_routing.cpp)
    bool clickPlanItem(qxui::PlanListWidget& list, int row);
    void startDrag(QWidget* source);
    void cellRightClicked(const qxui::CellWidget& cell) override;
    void cellDragStarted(qxui::CellWidget& cell) override;
    void cellDragEntered(const qxui::CellWidget& cell) override;
    void cellDropped(const qxui::CellWidget& cell) override;
    void planItemPressed(qxui::PlanListWidget& list, int row) override;
    void planItemClicked(qxui::PlanListWidget& list, int row) override;
    void planDragStarted(qxui::PlanListWidget& list, int row) override;
    void helpClicked() override;

    // Carrying with the keyboard (keyboard_carry.cpp)
    void startCarry(qxui::Carry what);
    void endCarry();
    void dropCarried(qxui::CellWidget& target);
    bool cellKeyPressed(qxui::CellWidget& cell, qxui::CellKey key) override;
    void planItemEntered(qxui::PlanListWidget& list, int row) override;
};

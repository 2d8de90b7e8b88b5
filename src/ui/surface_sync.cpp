// Showing the surface's changes, at the scale the host's size gives.
#include "ui/cell_grid.h"
#include "ui/frame_box.h"
#include "ui/plan_list_widget.h"
#include "ui/widget_private.h"

#include <algorithm>

using namespace qxui;

namespace {

// The smallest font the surface shrinks to on a small screen, in pixels.
constexpr double kSmallestFontPx = 9;
// The height, in twips, a large window gives the plan lists beyond the design
// before the grids grow: four more rows.
constexpr double kPlanGrowth = 1200;

} // namespace

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

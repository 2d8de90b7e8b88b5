#include "render.h"

#include "qxmavowin/host_window.h"
#include "gen/school.h"
#include "control/qx_mavowin.h"
#include "qxmavowin/qxmavowin_widget.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

constexpr Side kClass = Side::Class;

struct RenderCase {
    std::unique_ptr<QxMavoWinWidget> widget;
    HostWindow host;
    QWidget* grid = nullptr;
    QImage image;
    int weekday = 1;
    int index = 0;
};

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void analyse(RenderCase& c) { c.widget->control().cellClick(kClass, c.weekday, c.index); }

void runPaint(benchmark::State& state, RenderCase* c, Stats* out)
{
    std::vector<double> samples;
    for (auto _ : state) {
        analyse(*c);
        c->widget->syncFromSurface();
        const auto start = Clock::now();
        c->grid->render(&c->image);
        const double ms = msSince(start);
        state.SetIterationTime(ms / 1000.0);
        samples.push_back(ms);
    }
    *out = statsOf(samples);
    // What was painted, to look at: KBTZ_BENCH_RENDER_PNG=file.png.
    if (const QString png = qEnvironmentVariable("KBTZ_BENCH_RENDER_PNG"); !png.isEmpty())
        c->image.save(png);
}

void runSync(benchmark::State& state, RenderCase* c, Stats* out)
{
    std::vector<double> samples;
    for (auto _ : state) {
        analyse(*c);
        const auto start = Clock::now();
        c->widget->syncFromSurface();
        const double ms = msSince(start);
        c->grid->render(&c->image);
        state.SetIterationTime(ms / 1000.0);
        samples.push_back(ms);
    }
    *out = statsOf(samples);
}

} // namespace

void registerRenderBenchmarks(const QString& name, const QString& syncName, QSqlDatabase db, const gen::School& school,
                              int dataType, int classIndex, int weekday, int index, Stats* paint, Stats* sync)
{
    // Lives as long as the benchmarks that point to it: to the end of the run.
    auto* c = new RenderCase;
    c->widget = std::make_unique<QxMavoWinWidget>();
    c->weekday = weekday;
    c->index = index;
    QX_MavoWin& control = c->widget->control();
    const gen::TimetableRow& t = school.timetables.front();
    c->widget->QxIni(db, t.schoolYear, t.term, t.scheduleName, &c->host, static_cast<qint16>(dataType));
    control.setPause([](double) {});
    c->widget->resize(c->widget->sizeHint());
    c->widget->show();
    control.surface().cmbBj.setListIndex(classIndex);
    c->widget->syncFromSurface();
    c->grid = c->widget->cellWidget(kClass, 1, 0);
    // The grid is the frame that holds the cells, the period headings and
    // the weekday bar.
    while (c->grid && c->grid->parentWidget() != c->widget.get())
        c->grid = c->grid->parentWidget();
    if (!c->grid)
        return;
    c->image = QImage(c->grid->size(), QImage::Format_ARGB32_Premultiplied);

    benchmark::RegisterBenchmark(name.toStdString().c_str(), runPaint, c, paint)
        ->Iterations(200)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(syncName.toStdString().c_str(), runSync, c, sync)
        ->Iterations(200)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

// Full redraws of the five plot types in a 700x700 window at the defaults,
// the same GL calls as the default bifurcation redraw replayed without any
// of the program's work (the lower bound of that redraw), and the cost of
// the Command-period poll.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <cstdlib>
#include <vector>

#include "Sources/events.h"
#include "Sources/text.h"
#include "Sources/windows.h"
#include "maps.h"
#include "toolbox/Frontend.h"
#include "toolbox/Process.h"

namespace {

constexpr short kSide = 700;

// One plot window of 700x700 pixels, created once for all benchmarks.
PlotData* benchPlot() {
  static PlotData* plot = [] {
    createOutput();  // the log that plots write their bounds to
    WindowPtr w = createPlot();
    SizeWindow(w, kSide, kSide, false);
    PlotData* p = GetPlotData(w);
    p->setCoordinates();
    return p;
  }();
  return plot;
}

Rect wholeWindow() { return Rect{0, 0, kSide, kSide}; }

void BM_FullRedraw(benchmark::State& state) {
  PlotData* plot = benchPlot();
  plot->toggleShow(plotEnum(state.range(0)));
  Rect all = wholeWindow();
  for (auto _ : state) {
    plot->draw(all);
    glFinish();
    tb::frontend().pump(0);  // the desktop shows the new picture
  }
  state.SetLabel(state.range(0) == cobWebPlot        ? "cobweb"
                 : state.range(0) == bifurcationPlot ? "bifurcation"
                 : state.range(0) == densityPlot     ? "density"
                 : state.range(0) == lyapunovPlot    ? "lyapunov"
                                                     : "exit time");
}
BENCHMARK(BM_FullRedraw)
    ->Arg(cobWebPlot)
    ->Arg(bifurcationPlot)
    ->Arg(densityPlot)
    ->Arg(lyapunovPlot)
    ->Arg(exitTimePlot)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The default bifurcation redraw's vertex stream, computed once; replaying
// it issues the same GL calls with nothing of the program around them. Both
// loops end by letting the desktop show the picture, as the program does.
struct RecordedRedraw {
  std::vector<GLint> points;  // h, v pairs
  std::vector<GLint> axes;    // two segments
};

RecordedRedraw recordBifurcation(PlotData* plot) {
  RecordedRedraw r;
  Map* map = plot->map();
  double xmn, xmx, ymn, ymx;
  plot->getCoordinates(&xmn, &xmx, &ymn, &ymx);
  double dh = plot->hScale(), dv = plot->vScale();
  double muold = map->mu, y = map->x0, eps = map->x0 >= 0 ? 1e-6 : -1e-6;
  for (int k = 0; k < kSide; ++k) {
    map->mu = k / dh + xmn;
    y += eps;
    for (int j = map->t / 10; j > 0; --j) y = map->f(y);
    for (int j = map->t; j > 0; --j) {
      r.points.push_back(GLint((map->mu - xmn) * dh + 0.5));
      r.points.push_back(GLint((ymx - y) * dv + 0.5));
      y = map->f(y);
    }
  }
  map->mu = muold;
  double xo = xmn < 0 && xmx > 0 ? 0 : xmn + 0.5 * (xmx - xmn);
  double yo = ymn < 0 && ymx > 0 ? 0 : ymn + 0.5 * (ymx - ymn);
  r.axes = {GLint((xo - xmn) * dh), 0, GLint((xo - xmn) * dh), kSide, 0, GLint((ymx - yo) * dv), kSide,
            GLint((ymx - yo) * dv)};
  return r;
}

void BM_BifurcationLowerBound(benchmark::State& state) {
  PlotData* plot = benchPlot();
  plot->toggleShow(bifurcationPlot);
  RecordedRedraw r = recordBifurcation(plot);
  GLfloat blue[3] = {0, 0, 1};
  for (auto _ : state) {
    aglSetCurrentContext(plot->context());
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3fv(blue);
    glBegin(GL_POINTS);
    for (size_t i = 0; i < r.points.size(); i += 2) glVertex2i(r.points[i], r.points[i + 1]);
    glEnd();
    glLogicOp(GL_INVERT);
    glEnable(GL_COLOR_LOGIC_OP);
    for (size_t i = 0; i < r.axes.size(); i += 4) {
      glBegin(GL_LINES);
      glVertex2i(r.axes[i], r.axes[i + 1]);
      glVertex2i(r.axes[i + 2], r.axes[i + 3]);
      glEnd();
    }
    glDisable(GL_COLOR_LOGIC_OP);
    glFlush();
    aglSwapBuffers(plot->context());
    glFinish();
    tb::frontend().pump(0);  // the desktop shows the new picture
  }
}
BENCHMARK(BM_BifurcationLowerBound)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UserCancel(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(userCancel());
}
BENCHMARK(BM_UserCancel);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char program[] = "vantor_bench";
  char* toolboxArgs[] = {program, nullptr};
  int toolboxArgc = 1;
  ToolboxInit(toolboxArgc, toolboxArgs);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

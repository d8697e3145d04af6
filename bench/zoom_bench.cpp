// The rubber band on a 1000x1000 plot: what one movement of the mouse costs
// during a zoom drag (two outlines and one present, the picture under the
// band never redrawn). Each iteration is one drag of 100 movements, ended
// with Escape so that the view stays as it is.
#include <benchmark/benchmark.h>

#include "Sources/events.h"
#include "Sources/graphics.h"
#include "Sources/text.h"
#include "Sources/windows.h"
#include "maps.h"
#include "toolbox/Frontend.h"
#include "toolbox/internal/EventQueue.h"
#include "toolbox/internal/Hooks.h"
#include "toolbox/internal/WindowRecord.h"

namespace {

constexpr short kBandSide = 1000;
constexpr int kMovements = 100;

WindowPtr bandPlot() {
  static WindowPtr window = [] {
    if (output == nullptr) createOutput();
    WindowPtr w = createPlot();
    show(w);
    SizeWindow(w, kBandSide, kBandSide, false);
    PlotData* p = GetPlotData(w);
    p->toggleShow(bifurcationPlot);  // a dense picture under the band
    Rect all{0, 0, kBandSide, kBandSide};
    p->draw(all);
    return w;
  }();
  return window;
}

void post(tb::InputKind kind, WindowPtr w, int h, int v) {
  tb::RawInput in;
  in.kind = kind;
  in.where = Point{short(w->content.top + v), short(w->content.left + h)};
  tb::postInput(in);
}

void BM_RubberBandMovement(benchmark::State& state) {
  WindowPtr w = bandPlot();
  if (w->port.image.width() != kBandSide || w->port.image.height() != kBandSide) {
    state.SkipWithError("the plot window is not 1000 x 1000");
    return;
  }
  for (auto _ : state) {
    post(tb::InputKind::MouseDown, w, 100, 100);
    tb::RawInput down;
    tb::takeInput(down);  // as the event loop took the click that starts the drag
    for (int i = 1; i <= kMovements; ++i) post(tb::InputKind::MouseMove, w, 100 + 8 * i, 100 + 7 * i);
    tb::RawInput escape;
    escape.kind = tb::InputKind::KeyDown;
    escape.keyCode = kVK_Escape;
    tb::postInput(escape);
    dragCoordinates(1);
    post(tb::InputKind::MouseUp, w, 900, 800);
    tb::flushAllInput();  // the release, and the key-up the drag never saw
  }
  state.SetItemsProcessed(state.iterations() * kMovements);
  state.SetLabel("items: movements of the band");
}
BENCHMARK(BM_RubberBandMovement)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

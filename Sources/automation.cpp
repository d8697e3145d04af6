// The program's state as the script driver reads it, by the names that
// toolbox/internal/StateReaders.h lists. Values are text; numbers keep their full
// precision so that a script can compare them with a tolerance of its own.
#include "automation.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "../maps.h"
#include "../toolbox/internal/StateReaders.h"
#include "events.h"
#include "text.h"

namespace {

using Args = std::vector<double>;
using Answer = std::optional<std::string>;

std::string number(double v) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

// The log in UTF-8 with '\n' line ends; the text record holds Mac Roman
// with carriage returns.
Answer logText(WindowRef, const Args&) {
  if (hTE == nullptr || (*hTE)->hText == nullptr) return std::nullopt;
  std::string text(*(*hTE)->hText, size_t(std::max<short>((*hTE)->teLength, 0)));
  for (char& c : text) {
    if (c == '\r') c = '\n';
  }
  return tb::macRomanToUtf8(text);
}

Answer windowKind(WindowRef w, const Args&) {
  if (w == nullptr) return std::nullopt;
  if (w == output) return std::string("text");
  if (isPlot(w)) return std::string("plot");
  return std::nullopt;
}

// A reader of one fact of a plot window; other windows have no answer.
void plotReader(const char* name, std::function<Answer(PlotData&, const Args&)> read) {
  tb::setInspector(name, [read](WindowRef w, const Args& args) -> Answer {
    PlotData* data = w != nullptr ? GetPlotData(w) : nullptr;
    if (data == nullptr) return std::nullopt;
    return read(*data, args);
  });
}

}  // namespace

void registerAutomation() {
  tb::setInspector("window.kind", windowKind);
  tb::setInspector("text", logText);
  tb::setInspector("gDelta", [](WindowRef, const Args&) -> Answer { return number(gDelta); });
  tb::setInspector("gScaleOn", [](WindowRef, const Args&) -> Answer { return number(gScaleOn); });

  plotReader("plot.family", [](PlotData& p, const Args&) -> Answer { return number(p.mapNumber()); });
  plotReader("plot.mu", [](PlotData& p, const Args&) -> Answer { return number(p.map()->mu); });
  plotReader("plot.n", [](PlotData& p, const Args&) -> Answer { return number(p.map()->n); });
  plotReader("plot.t", [](PlotData& p, const Args&) -> Answer { return number(p.map()->t); });
  plotReader("plot.x0", [](PlotData& p, const Args&) -> Answer { return number(p.map()->x0); });
  plotReader("plot.xt", [](PlotData& p, const Args&) -> Answer { return number(p.map()->xt); });
  plotReader("plot.type", [](PlotData& p, const Args&) -> Answer { return number(p.getPlotType()); });
  plotReader("plot.dh", [](PlotData& p, const Args&) -> Answer { return number(p.hScale()); });
  plotReader("plot.dv", [](PlotData& p, const Args&) -> Answer { return number(p.vScale()); });
  plotReader("plot.show", [](PlotData& p, const Args& args) -> Answer {
    if (args.size() != 1) return std::nullopt;
    return number(p.getShow(plotEnum(int(args[0]))) ? 1 : 0);
  });
  plotReader("plot.bounds", [](PlotData& p, const Args&) -> Answer {
    double xmn, xmx, ymn, ymx;
    p.getCoordinates(&xmn, &xmx, &ymn, &ymx);
    return number(xmn) + " " + number(xmx) + " " + number(ymn) + " " + number(ymx);
  });
  plotReader("plot.point", [](PlotData& p, const Args& args) -> Answer {
    if (args.size() != 2) return std::nullopt;
    Point pt = p.windowCoordinates(vect{args[0], args[1]});
    return std::to_string(pt.h) + " " + std::to_string(pt.v);
  });
}

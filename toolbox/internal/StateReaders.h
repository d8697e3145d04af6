// Facts about the program's own state that the layer cannot see: which
// window is the log, what a plot shows, the program's settings. The program
// registers one reader per name at start-up and the script driver asks by
// name; the layer never includes the program's headers, so values travel as
// text (numbers in full precision, "%.17g").
//
// Names the script driver reads (docs/automation.md):
//   window.kind   "text" for the log window, "plot" for a plot window
//   text          the log's text in UTF-8, each line ended by '\n'
//   plot.family plot.mu plot.n plot.t plot.x0 plot.xt plot.type plot.dh
//   plot.dv       one number each, for a plot window
//   plot.show     args {item}: "1" or "0" for show flag 7, 8 or 9
//   plot.bounds   "xmin xmax ymin ymax"
//   plot.point    args {x, y}: "h v", the window point of a map point
//   gDelta gScaleOn
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../QuickDraw.h"

namespace tb {

// A reader answers for one window (null for program-wide facts) and the
// numbers a question needs; no answer means the fact does not apply, for
// example a plot field of the log window.
using Inspector = std::function<std::optional<std::string>(WindowRef window, const std::vector<double>& args)>;

void setInspector(const std::string& name, Inspector reader);
bool hasInspector(const std::string& name);
std::optional<std::string> inspect(const std::string& name, WindowRef window = nullptr,
                                   const std::vector<double>& args = {});

}  // namespace tb

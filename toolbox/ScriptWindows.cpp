// Windows and points as a script names them, and the small helpers that the
// step builders share.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "TextUtils.h"
#include "internal/StateReaders.h"
#include "internal/Script.h"
#include "internal/WindowRecord.h"

namespace tb::script {

std::string quote(const std::string& utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

std::string formatNumber(double value) {
  char buffer[40];
  for (int precision = 15; precision <= 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  return buffer;
}

std::string windowTitle(WindowRef window) { return window == nullptr ? std::string() : macRomanToUtf8(window->title); }

std::string windowKind(WindowRef window) {
  std::optional<std::string> kind = inspect("window.kind", window);
  return kind ? *kind : "other";
}

std::string resolveOutputPath(const Context& context, const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  return context.outputDir + "/" + path;
}

std::optional<double> readNumber(const std::string& name, WindowRef window, const std::vector<double>& args) {
  std::optional<std::string> value = inspect(name, window, args);
  if (!value) return std::nullopt;
  char* endPtr = nullptr;
  double v = std::strtod(value->c_str(), &endPtr);
  if (endPtr == value->c_str()) return std::nullopt;
  return v;
}

std::vector<std::string> textLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t eol = text.find('\n', start);
    if (eol == std::string::npos) eol = text.size();
    lines.push_back(text.substr(start, eol - start));
    start = eol + 1;
  }
  return lines;
}

const char* const kPlotTypeNames[6] = {"", "cobweb", "bifurcation", "density", "lyapunov", "exit-time"};
const char* const kFamilyNames[8] = {"", "logistic", "cosine", "cubic", "exponential", "tangent", "tent", "circle"};
const char* const kCursorNames[6] = {"arrow", "ibeam", "cross", "watch", "zoom-in", "zoom-out"};

std::string WindowSelector::describe() const {
  switch (kind) {
    case Front: return "front";
    case Text: return "text";
    case Plot: return index == 1 ? "plot" : "plot" + std::to_string(index);
    case Titled: return quote(title);
  }
  return {};
}

bool parseWindow(Line& line, WindowSelector& window) {
  if (line.nextIsQuoted()) {
    window.kind = WindowSelector::Titled;
    window.title = line.text("a window title");
    return !line.failed();
  }
  std::string w = line.word("a window (front, text, plot, plotN or a \"title\")");
  if (w == "front") {
    window.kind = WindowSelector::Front;
  } else if (w == "text") {
    window.kind = WindowSelector::Text;
  } else if (w.rfind("plot", 0) == 0) {
    window.kind = WindowSelector::Plot;
    window.index = 1;
    if (w.size() > 4) {
      char* endPtr = nullptr;
      long n = std::strtol(w.c_str() + 4, &endPtr, 10);
      if (*endPtr != '\0' || n < 1) line.fail("expected a window (front, text, plot, plotN or a \"title\"), found " + w);
      window.index = int(n);
    }
  } else if (!line.failed()) {
    line.fail("expected a window (front, text, plot, plotN or a \"title\"), found " + w);
  }
  return !line.failed();
}

WindowRef findWindow(const WindowSelector& window, std::string& found) {
  const auto& windows = windowManager().windows;
  int plots = 0;
  for (WindowRecord* w : windows) {
    switch (window.kind) {
      case WindowSelector::Front:
        if (w->visible) return w;
        break;
      case WindowSelector::Text:
        if (windowKind(w) == "text") return w;
        break;
      case WindowSelector::Plot:
        if (windowKind(w) == "plot" && ++plots == window.index) return w;
        break;
      case WindowSelector::Titled:
        if (windowTitle(w).rfind(window.title, 0) == 0) return w;
        break;
    }
  }
  switch (window.kind) {
    case WindowSelector::Front: found = "no visible window"; break;
    case WindowSelector::Text: found = "no text window"; break;
    case WindowSelector::Plot: found = plots == 0 ? "no plot window" : std::to_string(plots) + " plot window(s)"; break;
    case WindowSelector::Titled: {
      found = "no window titled so; the titles are";
      for (WindowRecord* w : windows) found += " " + quote(windowTitle(w));
      if (windows.empty()) found = "no window at all";
      break;
    }
  }
  return nullptr;
}

std::string Place::describe() const {
  switch (kind) {
    case Desktop: return formatNumber(x) + " " + formatNumber(y);
    case Title: return "title " + window.describe();
    case Close: return "close " + window.describe();
    case Zoom: return "zoom " + window.describe();
    case Grow: return "grow " + window.describe();
    case Content: return "content " + window.describe() + " " + formatNumber(x) + " " + formatNumber(y);
    case MapPoint: return "map " + window.describe() + " " + formatNumber(x) + " " + formatNumber(y);
  }
  return {};
}

bool parsePlace(Line& line, Place& place) {
  if (line.nextIsNumber()) {
    place.kind = Place::Desktop;
    place.x = double(line.integer("the horizontal desktop coordinate"));
    place.y = double(line.integer("the vertical desktop coordinate"));
    return !line.failed();
  }
  std::string w = line.word("a place (H V, title, close, zoom, grow, content or map)");
  if (w == "title") place.kind = Place::Title;
  else if (w == "close") place.kind = Place::Close;
  else if (w == "zoom") place.kind = Place::Zoom;
  else if (w == "grow") place.kind = Place::Grow;
  else if (w == "content") place.kind = Place::Content;
  else if (w == "map") place.kind = Place::MapPoint;
  else if (!line.failed()) line.fail("expected a place (H V, title, close, zoom, grow, content or map), found " + w);
  parseWindow(line, place.window);
  if (place.kind == Place::Content) {
    place.x = double(line.integer("the horizontal window coordinate"));
    place.y = double(line.integer("the vertical window coordinate"));
  } else if (place.kind == Place::MapPoint) {
    place.x = line.number("the map x");
    place.y = line.number("the map y");
  }
  return !line.failed();
}

namespace {

Point centre(const Rect& r) { return Point{short((r.top + r.bottom) / 2), short((r.left + r.right) / 2)}; }

bool boxCentre(const Rect& box, const char* what, Point& where, std::string& found) {
  if (box.right <= box.left || box.bottom <= box.top) {
    found = std::string("a window without ") + what;
    return false;
  }
  where = centre(box);
  return true;
}

}  // namespace

bool resolvePlace(const Place& place, Point& where, std::string& found) {
  if (place.kind == Place::Desktop) {
    where = Point{short(place.y), short(place.x)};
    return true;
  }
  WindowRef w = findWindow(place.window, found);
  if (w == nullptr) return false;
  switch (place.kind) {
    case Place::Title: return boxCentre(titleBarRect(*w), "a title bar", where, found);
    case Place::Close: return boxCentre(closeBoxRect(*w), "a close box", where, found);
    case Place::Zoom: return boxCentre(zoomBoxRect(*w), "a zoom box", where, found);
    case Place::Grow: return boxCentre(growBoxRect(*w), "a grow box", where, found);
    case Place::Content:
      where = Point{short(w->content.top + int(place.y)), short(w->content.left + int(place.x))};
      return true;
    case Place::MapPoint: {
      std::optional<std::string> point = inspect("plot.point", w, {place.x, place.y});
      int h = 0, v = 0;
      if (!point || std::sscanf(point->c_str(), "%d %d", &h, &v) != 2) {
        found = "a window that is no plot (" + windowKind(w) + ")";
        return false;
      }
      where = Point{short(w->content.top + v), short(w->content.left + h)};
      return true;
    }
    case Place::Desktop: break;
  }
  return false;
}

}  // namespace tb::script

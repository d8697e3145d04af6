// Script expectations: what the program shows and holds, compared with what
// the script says. A failed one names what was expected and what was found.
#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "Frontend.h"
#include "TextUtils.h"
#include "internal/StateReaders.h"
#include "internal/MenuBar.h"
#include "internal/Script.h"
#include "internal/WindowRecord.h"
#include "qt/QtFrontend.h"

namespace tb::script {

namespace {

using Check = std::function<Outcome(Context&)>;

// State is read once the program has settled, or while it follows a held
// button (a window being dragged shows where it is).
bool readable(Phase phase) { return phase == Phase::Idle || phase == Phase::Tracking; }

Check whenReadable(std::function<Outcome()> check) {
  return [check](Context& context) { return readable(context.phase) ? check() : Outcome::notNow(); };
}

// Numbers match within a tolerance: `within T` given, or a relative 1e-9
// that absorbs the last bits of decimal input.
struct Tolerance {
  bool given = false;
  double value = 0;
  bool matches(double expected, double found) const {
    if (expected == found) return true;
    double limit = given ? value : 1e-9 * std::max(1.0, std::fabs(expected));
    return std::fabs(expected - found) <= limit;
  }
  std::string describe() const { return given ? " within " + formatNumber(value) : ""; }
};

Tolerance parseTolerance(Line& line) {
  Tolerance t;
  if (line.accept("within")) {
    t.given = true;
    t.value = line.number("the tolerance");
    if (t.value < 0) line.fail("a tolerance must not be negative");
  }
  return t;
}

bool parseColour(Line& line, QRgb& colour) {
  std::string c = line.word("a colour #rrggbb");
  if (line.failed()) return false;
  if (c.size() != 7 || c[0] != '#' || !QColor::isValidColorName(QString::fromStdString(c))) {
    line.fail("expected a colour #rrggbb, found " + c);
    return false;
  }
  colour = QColor(QString::fromStdString(c)).rgb() & 0xFFFFFF;
  return true;
}

std::string colourName(QRgb c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", qRed(c), qGreen(c), qBlue(c));
  return buffer;
}

bool colourMatches(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

std::string rectText(const Rect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

// Runs `check` on the selected window, or fails naming what was there.
Check onWindow(const WindowSelector& selector, std::function<Outcome(WindowRef)> check) {
  return whenReadable([selector, check]() {
    std::string found;
    WindowRef w = findWindow(selector, found);
    if (w == nullptr) return Outcome::fail("a window " + selector.describe(), found);
    return check(w);
  });
}

// A plot field that is one number.
Check plotNumber(const WindowSelector& selector, const std::string& field, double expected, Tolerance tolerance,
                 const char* const* names = nullptr) {
  return onWindow(selector, [=](WindowRef w) {
    std::string what = selector.describe() + " " + field + " " + formatNumber(expected);
    if (names != nullptr) what += std::string(" (") + names[int(expected)] + ")";
    what += tolerance.describe();
    std::optional<double> found = readNumber("plot." + field, w);
    if (!found) return Outcome::fail(what, "a window that is no plot (" + windowKind(w) + ")");
    if (tolerance.matches(expected, *found)) return Outcome::done();
    std::string foundText = formatNumber(*found);
    if (names != nullptr && *found >= 1 && *found <= (names == kPlotTypeNames ? 5 : 7)) {
      foundText += std::string(" (") + names[int(*found)] + ")";
    }
    return Outcome::fail(what, foundText);
  });
}

// A number that names one of a list (plot types, families) or is given as is.
long nameOrNumber(Line& line, const char* what, const char* const* names, int count) {
  if (line.nextIsNumber()) return line.integer(what);
  std::string w = line.word(what);
  for (int i = 1; i <= count; ++i) {
    if (w == names[i]) return i;
  }
  if (!line.failed()) {
    std::string known;
    for (int i = 1; i <= count; ++i) known += std::string(i > 1 ? ", " : "") + names[i];
    line.fail(std::string("expected ") + what + " (" + known + " or a number), found " + w);
  }
  return 0;
}

Check parseTextProperty(const WindowSelector& selector, const std::string& property, Line& line) {
  if (selector.kind != WindowSelector::Text) line.fail(property + " reads the text window: expect text " + property);
  auto readText = []() { return inspect("text"); };
  if (property == "line") {
    long n = line.integer("a line number (from 1, or from -1 at the end)");
    std::string expected = line.text("the line's text");
    if (n == 0) line.fail("lines count from 1 (or from -1 at the end)");
    return whenReadable([=]() {
      std::optional<std::string> text = readText();
      if (!text) return Outcome::fail("the text window's text", "no text window");
      std::vector<std::string> lines = textLines(*text);
      long index = n > 0 ? n - 1 : long(lines.size()) + n;
      std::string what = "text line " + std::to_string(n) + " " + quote(expected);
      if (index < 0 || index >= long(lines.size())) {
        return Outcome::fail(what, std::to_string(lines.size()) + " lines");
      }
      if (lines[size_t(index)] == expected) return Outcome::done();
      return Outcome::fail(what, quote(lines[size_t(index)]));
    });
  }
  if (property == "lines") {
    long n = line.integer("the number of lines");
    return whenReadable([=]() {
      std::optional<std::string> text = readText();
      if (!text) return Outcome::fail("the text window's text", "no text window");
      std::vector<std::string> lines = textLines(*text);
      if (long(lines.size()) == n) return Outcome::done();
      std::string found = std::to_string(lines.size());
      if (!lines.empty()) found += ", the last " + quote(lines.back());
      return Outcome::fail("text lines " + std::to_string(n), found);
    });
  }
  bool whole = property == "contents";
  std::string expected = line.text(whole ? "the whole text" : "the text to find");
  return whenReadable([=]() {
    std::optional<std::string> text = readText();
    if (!text) return Outcome::fail("the text window's text", "no text window");
    if (whole ? *text == expected : text->find(expected) != std::string::npos) return Outcome::done();
    std::string found = *text;
    if (!whole) {
      std::vector<std::string> lines = textLines(*text);
      found = lines.empty() ? "no text" : std::to_string(lines.size()) + " lines, the last " + quote(lines.back());
      return Outcome::fail("text contains " + quote(expected), found);
    }
    return Outcome::fail("text contents " + quote(expected), quote(found));
  });
}

Check parsePixelProperty(const WindowSelector& selector, const std::string& property, Line& line) {
  if (property == "pixel") {
    long h = line.integer("the horizontal window coordinate");
    long v = line.integer("the vertical window coordinate");
    QRgb expected = 0;
    parseColour(line, expected);
    int tolerance = 0;
    if (line.accept("within")) tolerance = int(line.integer("the tolerance per channel"));
    return onWindow(selector, [=](WindowRef w) {
      const QImage& image = w->port.image;
      std::string what = selector.describe() + " pixel " + std::to_string(h) + " " + std::to_string(v) + " " +
                         colourName(expected);
      if (h < 0 || v < 0 || h >= image.width() || v >= image.height()) {
        return Outcome::fail(what, "a content of " + std::to_string(image.width()) + "x" + std::to_string(image.height()));
      }
      QRgb found = image.pixel(int(h), int(v)) & 0xFFFFFF;
      if (colourMatches(expected, found, tolerance)) return Outcome::done();
      return Outcome::fail(what, colourName(found));
    });
  }
  // has / lacks a colour, in the whole content or a part of it.
  bool wanted = property == "has";
  QRgb colour = 0;
  parseColour(line, colour);
  bool part = false;
  Rect area{0, 0, 0, 0};
  if (line.accept("in")) {
    part = true;
    area.left = short(line.integer("the left edge"));
    area.top = short(line.integer("the top edge"));
    area.right = short(line.integer("the right edge"));
    area.bottom = short(line.integer("the bottom edge"));
  }
  return onWindow(selector, [=](WindowRef w) {
    const QImage& image = w->port.image;
    QRect region = part ? toQRect(area).intersected(image.rect()) : image.rect();
    long count = 0;
    QPoint first;
    std::map<QRgb, long> histogram;
    for (int y = region.top(); y <= region.bottom(); ++y) {
      for (int x = region.left(); x <= region.right(); ++x) {
        QRgb p = image.pixel(x, y) & 0xFFFFFF;
        ++histogram[p];
        if (p == colour && count++ == 0) first = QPoint(x, y);
      }
    }
    std::string what = selector.describe() + " " + property + " " + colourName(colour);
    if (part) what += " in " + rectText(area);
    if (wanted && count > 0) return Outcome::done();
    if (!wanted && count == 0) return Outcome::done();
    if (!wanted) {
      return Outcome::fail(what, std::to_string(count) + " such pixels, the first at " + std::to_string(first.x()) + " " +
                                     std::to_string(first.y()));
    }
    std::vector<std::pair<long, QRgb>> common;
    for (auto& [c, n] : histogram) common.push_back({n, c});
    std::sort(common.rbegin(), common.rend());
    std::string found = "none; the most common colours are";
    for (size_t i = 0; i < common.size() && i < 4; ++i) {
      found += " " + colourName(common[i].second) + " (" + std::to_string(common[i].first) + ")";
    }
    if (common.empty()) found = "an empty area";
    return Outcome::fail(what, found);
  });
}

Check parseWindowProperty(Line& line) {
  WindowSelector selector;
  parseWindow(line, selector);
  std::string property = line.word("what to expect of the window");
  if (line.failed()) return {};
  const std::string name = selector.describe();
  if (property == "title") {
    std::string expected = line.text("the title");
    return onWindow(selector, [=](WindowRef w) {
      if (windowTitle(w) == expected) return Outcome::done();
      return Outcome::fail(name + " title " + quote(expected), quote(windowTitle(w)));
    });
  }
  if (property == "content" || property == "size") {
    std::vector<long> v;
    for (int i = 0; i < (property == "size" ? 2 : 4); ++i) v.push_back(line.integer("a coordinate"));
    return onWindow(selector, [=](WindowRef w) {
      const Rect& r = w->content;
      if (property == "size") {
        std::string found = std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
        if (r.right - r.left == v[0] && r.bottom - r.top == v[1]) return Outcome::done();
        return Outcome::fail(name + " size " + std::to_string(v[0]) + " " + std::to_string(v[1]), found);
      }
      if (r.left == v[0] && r.top == v[1] && r.right == v[2] && r.bottom == v[3]) return Outcome::done();
      return Outcome::fail(name + " content " + std::to_string(v[0]) + " " + std::to_string(v[1]) + " " +
                               std::to_string(v[2]) + " " + std::to_string(v[3]),
                           rectText(r));
    });
  }
  if (property == "visible" || property == "hidden") {
    bool visible = property == "visible";
    return onWindow(selector, [=](WindowRef w) {
      if (w->visible == visible) return Outcome::done();
      return Outcome::fail(name + " " + property, visible ? "hidden" : "visible");
    });
  }
  if (property == "front") {
    return onWindow(selector, [=](WindowRef w) {
      WindowRef front = FrontWindow();
      if (front == w) return Outcome::done();
      std::string found = front == nullptr ? "no visible window"
                                           : windowKind(front) + " " + quote(windowTitle(front)) + " in front";
      return Outcome::fail(name + " front", found);
    });
  }
  if (property == "pixel" || property == "has" || property == "lacks") {
    return parsePixelProperty(selector, property, line);
  }
  if (property == "line" || property == "lines" || property == "contains" || property == "contents") {
    return parseTextProperty(selector, property, line);
  }
  if (property == "axes" || property == "square" || property == "critical") {
    int item = property == "axes" ? 7 : property == "square" ? 8 : 9;
    std::string state = line.word("on or off");
    if (!line.failed() && state != "on" && state != "off") line.fail("expected on or off, found " + state);
    bool on = state == "on";
    return onWindow(selector, [=](WindowRef w) {
      std::optional<double> found = readNumber("plot.show", w, {double(item)});
      std::string what = name + " " + property + " " + state;
      if (!found) return Outcome::fail(what, "a window that is no plot (" + windowKind(w) + ")");
      if ((*found != 0) == on) return Outcome::done();
      return Outcome::fail(what, *found != 0 ? "on" : "off");
    });
  }
  if (property == "bounds") {
    std::vector<double> expected;
    for (int i = 0; i < 4; ++i) expected.push_back(line.number("a bound"));
    Tolerance tolerance = parseTolerance(line);
    return onWindow(selector, [=](WindowRef w) {
      std::string what = name + " bounds";
      for (double e : expected) what += " " + formatNumber(e);
      what += tolerance.describe();
      std::optional<std::string> text = inspect("plot.bounds", w);
      double b[4];
      if (!text || std::sscanf(text->c_str(), "%lf %lf %lf %lf", &b[0], &b[1], &b[2], &b[3]) != 4) {
        return Outcome::fail(what, "a window that is no plot (" + windowKind(w) + ")");
      }
      bool ok = true;
      std::string found;
      for (int i = 0; i < 4; ++i) {
        ok = ok && tolerance.matches(expected[size_t(i)], b[i]);
        found += (i ? " " : "") + formatNumber(b[i]);
      }
      return ok ? Outcome::done() : Outcome::fail(what, found);
    });
  }
  if (property == "type") {
    long type = nameOrNumber(line, "a plot type", kPlotTypeNames, 5);
    if (!line.failed() && (type < 1 || type > 5)) line.fail("plot types are 1 to 5");
    return plotNumber(selector, "type", double(type), Tolerance{true, 0}, kPlotTypeNames);
  }
  if (property == "family") {
    long family = nameOrNumber(line, "a map family", kFamilyNames, 7);
    return plotNumber(selector, "family", double(family), Tolerance{true, 0},
                      family >= 1 && family <= 7 ? kFamilyNames : nullptr);
  }
  if (property == "n" || property == "t") {
    long value = line.integer(property == "n" ? "n" : "t");
    return plotNumber(selector, property, double(value), Tolerance{true, 0});
  }
  if (property == "mu" || property == "x0" || property == "xt" || property == "dh" || property == "dv") {
    double value = line.number(property.c_str());
    Tolerance tolerance = parseTolerance(line);
    return plotNumber(selector, property, value, tolerance);
  }
  line.fail("unknown window property " + property +
            " (title, content, size, visible, hidden, front, pixel, has, lacks, line, lines, contains, contents, "
            "family, mu, n, t, x0, xt, type, axes, square, critical, bounds, dh, dv)");
  return {};
}

std::string describeVisibleWindow(WindowRef w) {
  std::string kind = windowKind(w);
  return kind == "text" ? kind : kind + " " + quote(windowTitle(w));
}

Check parseWindowsList(Line& line) {
  std::vector<Token> items;
  while (!line.atEnd() && !line.failed()) {
    Token t;
    t.quoted = line.nextIsQuoted();
    t.text = line.any("a window");
    if (!t.quoted && t.text != "text" && t.text != "plot" && t.text != "other") {
      line.fail("expected text, plot, other or a \"title\" in the window list, found " + t.text);
    }
    items.push_back(t);
  }
  return whenReadable([items]() {
    std::vector<WindowRef> visible;
    for (WindowRecord* w : windowManager().windows) {
      if (w->visible) visible.push_back(w);
    }
    bool ok = visible.size() == items.size();
    for (size_t i = 0; ok && i < items.size(); ++i) {
      ok = items[i].quoted ? windowTitle(visible[i]) == items[i].text : windowKind(visible[i]) == items[i].text;
    }
    if (ok) return Outcome::done();
    std::string what = "windows", found;
    for (const Token& t : items) what += " " + (t.quoted ? quote(t.text) : t.text);
    for (WindowRef w : visible) found += (found.empty() ? "" : ", ") + describeVisibleWindow(w);
    return Outcome::fail(what, found.empty() ? "no visible window" : found);
  });
}

struct MenuItemRef {
  bool byText = false;
  std::string text;
  long number = 0;
};

Check parseChecks(Line& line) {
  MenuItemRef menu;
  if (line.nextIsQuoted()) {
    menu.byText = true;
    menu.text = line.text("a menu title");
  } else {
    menu.number = line.integer("a menu (its \"title\" or its number)");
  }
  std::vector<MenuItemRef> items;
  while (!line.atEnd() && !line.failed()) {
    MenuItemRef item;
    if (line.nextIsQuoted()) {
      item.byText = true;
      item.text = line.text("a menu item");
    } else {
      item.number = line.integer("a menu item (its \"text\" or its number)");
    }
    items.push_back(item);
  }
  return whenReadable([menu, items]() {
    const MenuRecord* found = nullptr;
    for (const MenuRecord* m : menuBar().menus) {
      if (menu.byText ? macRomanToUtf8(m->model.title) == menu.text : m->model.id == menu.number) found = m;
    }
    std::string menuText = menu.byText ? quote(menu.text) : std::to_string(menu.number);
    if (found == nullptr) return Outcome::fail("a menu " + menuText, "no such menu");
    std::vector<int> expected, checked;
    std::string what = "checks " + menuText, foundText;
    for (const MenuItemRef& item : items) {
      int number = int(item.number);
      if (item.byText) {
        number = 0;
        for (size_t i = 0; i < found->model.items.size(); ++i) {
          if (!found->model.items[i].separator && macRomanToUtf8(found->model.items[i].text) == item.text) {
            number = int(i + 1);
          }
        }
        if (number == 0) return Outcome::fail("an item " + quote(item.text) + " in menu " + menuText, "no such item");
      }
      expected.push_back(number);
      what += " " + (item.byText ? quote(item.text) : std::to_string(item.number));
    }
    for (size_t i = 0; i < found->model.items.size(); ++i) {
      if (found->model.items[i].checked) {
        checked.push_back(int(i + 1));
        foundText += (foundText.empty() ? "" : " ") + quote(macRomanToUtf8(found->model.items[i].text));
      }
    }
    std::sort(expected.begin(), expected.end());
    if (expected == checked) return Outcome::done();
    return Outcome::fail(what, foundText.empty() ? "no checked item" : foundText);
  });
}

}  // namespace

std::function<Outcome(Context&)> parseExpectCommand(Line& line, bool& endsProgram) {
  if (line.accept("exit")) {
    endsProgram = true;
    return [](Context& context) {
      if (context.phase == Phase::Idle) return Outcome::fail("the program to have ended", "it still running");
      return Outcome::notNow();
    };
  }
  if (line.accept("alert")) {
    std::string expected = line.text("the alert's message");
    return [expected](Context& context) {
      if (context.phase == Phase::Idle) return Outcome::fail("an alert " + quote(expected), "no alert");
      if (context.phase != Phase::Alert) return Outcome::notNow();
      QtFrontend* qt = qtFrontend();
      std::string found = qt ? qt->alertMessage() : std::string();
      if (found == expected) return Outcome::done();
      return Outcome::fail("an alert " + quote(expected), "an alert " + quote(found));
    };
  }
  if (line.nextIsWord("dialog") || line.nextIsWord("sheet") || line.nextIsWord("preference")) {
    return parseDialogExpect(line);
  }
  if (line.nextIsWord("color") || line.nextIsWord("clipboard")) return parseSystemExpect(line);
  if (line.accept("windows")) return parseWindowsList(line);
  if (line.accept("plots")) {
    long n = line.integer("the number of plot windows");
    return whenReadable([n]() {
      long count = 0;
      for (WindowRecord* w : windowManager().windows) count += windowKind(w) == "plot";
      if (count == n) return Outcome::done();
      return Outcome::fail("plots " + std::to_string(n), std::to_string(count));
    });
  }
  if (line.nextIsWord("gDelta") || line.nextIsWord("gScaleOn")) {
    std::string name = line.word("a setting");
    double expected = name == "gDelta" ? line.number("gDelta") : double(line.integer("gScaleOn"));
    Tolerance tolerance = name == "gDelta" ? parseTolerance(line) : Tolerance{true, 0};
    return whenReadable([=]() {
      std::optional<double> found = readNumber(name, nullptr);
      std::string what = name + " " + formatNumber(expected) + tolerance.describe();
      if (!found) return Outcome::fail(what, "no reader of " + name + " registered");
      if (tolerance.matches(expected, *found)) return Outcome::done();
      return Outcome::fail(what, formatNumber(*found));
    });
  }
  if (line.accept("checks")) return parseChecks(line);
  if (line.accept("cursor")) {
    std::string expected = line.word("a cursor (arrow, ibeam, cross, watch, zoom-in or zoom-out)");
    if (!line.failed() && std::find(std::begin(kCursorNames), std::end(kCursorNames), expected) == std::end(kCursorNames)) {
      line.fail("expected a cursor (arrow, ibeam, cross, watch, zoom-in or zoom-out), found " + expected);
    }
    return whenReadable([expected]() {
      std::string found = kCursorNames[int(frontend().cursor())];
      if (found == expected) return Outcome::done();
      return Outcome::fail("cursor " + expected, found);
    });
  }
  return parseWindowProperty(line);
}

}  // namespace tb::script

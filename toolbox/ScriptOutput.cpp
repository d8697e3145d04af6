// Script steps that write out what the program shows: its state as text on
// the standard output (for writing expectations), and pictures as PNG.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <cstdio>

#include "Frontend.h"
#include "TextUtils.h"
#include "internal/StateReaders.h"
#include "internal/MenuBar.h"
#include "internal/Script.h"
#include "internal/WindowRecord.h"

namespace tb::script {

namespace {

bool readable(Phase phase) { return phase == Phase::Idle || phase == Phase::Tracking; }

std::string rectText(const Rect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

void printWindows() {
  std::printf("windows, front to back:\n");
  for (WindowRecord* w : windowManager().windows) {
    std::printf("  %s %s content %s %s\n", windowKind(w).c_str(), quote(windowTitle(w)).c_str(),
                rectText(w->content).c_str(), w->visible ? "visible" : "hidden");
  }
}

void printText() {
  std::optional<std::string> text = inspect("text");
  if (!text) {
    std::printf("text: no text window\n");
    return;
  }
  std::vector<std::string> lines = textLines(*text);
  std::printf("text, %zu lines:\n", lines.size());
  for (size_t i = 0; i < lines.size(); ++i) std::printf("  %zu %s\n", i + 1, quote(lines[i]).c_str());
}

void printMenus() {
  std::printf("menus:\n");
  for (const MenuRecord* m : menuBar().menus) {
    std::printf("  %d %s:", m->model.id, quote(macRomanToUtf8(m->model.title)).c_str());
    for (size_t i = 0; i < m->model.items.size(); ++i) {
      const MenuItemModel& item = m->model.items[i];
      if (item.separator) continue;
      std::printf(" %zu%s%s %s", i + 1, item.checked ? " checked" : "", item.enabled ? "" : " disabled",
                  quote(macRomanToUtf8(item.text)).c_str());
    }
    std::printf("\n");
  }
}

void printPlots() {
  int index = 0;
  for (WindowRecord* w : windowManager().windows) {
    if (windowKind(w) != "plot") continue;
    ++index;
    std::printf("plot%d %s\n", index, quote(windowTitle(w)).c_str());
    auto number = [w](const char* field) {
      std::optional<double> v = readNumber(std::string("plot.") + field, w);
      return v ? formatNumber(*v) : std::string("?");
    };
    std::printf("  family %s mu %s n %s t %s x0 %s xt %s type %s\n", number("family").c_str(), number("mu").c_str(),
                number("n").c_str(), number("t").c_str(), number("x0").c_str(), number("xt").c_str(),
                number("type").c_str());
    std::optional<double> axes = readNumber("plot.show", w, {7}), square = readNumber("plot.show", w, {8}),
                          critical = readNumber("plot.show", w, {9});
    std::optional<std::string> text = inspect("plot.bounds", w);
    double b[4];
    std::string bounds = "?";
    if (text && std::sscanf(text->c_str(), "%lf %lf %lf %lf", &b[0], &b[1], &b[2], &b[3]) == 4) {
      bounds = formatNumber(b[0]) + " " + formatNumber(b[1]) + " " + formatNumber(b[2]) + " " + formatNumber(b[3]);
    }
    std::printf("  axes %s square %s critical %s bounds %s dh %s dv %s\n", axes && *axes ? "on" : "off",
                square && *square ? "on" : "off", critical && *critical ? "on" : "off", bounds.c_str(),
                number("dh").c_str(), number("dv").c_str());
  }
  if (index == 0) std::printf("no plot window\n");
}

void printSettings() {
  std::optional<double> delta = readNumber("gDelta", nullptr), scale = readNumber("gScaleOn", nullptr);
  std::printf("gDelta %s gScaleOn %s cursor %s\n", delta ? formatNumber(*delta).c_str() : "?",
              scale ? formatNumber(*scale).c_str() : "?", kCursorNames[int(frontend().cursor())]);
}

bool savePng(const QImage& image, const std::string& path, std::string& found) {
  QFileInfo info(QString::fromStdString(path));
  QDir().mkpath(info.absolutePath());
  if (image.isNull()) {
    found = "an empty picture";
    return false;
  }
  if (!image.save(info.absoluteFilePath(), "PNG")) {
    found = "the file could not be written";
    return false;
  }
  return true;
}

}  // namespace

std::function<Outcome(Context&)> parseOutputCommand(const std::string& command, Line& line) {
  if (command == "print") {
    std::string what = line.word("what to print (windows, text, menus, plots, settings or all)");
    if (!line.failed() && what != "windows" && what != "text" && what != "menus" && what != "plots" &&
        what != "settings" && what != "all") {
      line.fail("expected windows, text, menus, plots, settings or all, found " + what);
    }
    return [what](Context& context) {
      if (!readable(context.phase)) return Outcome::notNow();
      std::printf("%s:%d: print %s\n", context.scriptName.c_str(), context.line, what.c_str());
      bool all = what == "all";
      if (all || what == "windows") printWindows();
      if (all || what == "plots") printPlots();
      if (all || what == "settings") printSettings();
      if (all || what == "menus") printMenus();
      if (all || what == "text") printText();
      std::fflush(stdout);
      return Outcome::done();
    };
  }
  WindowSelector selector;
  bool wholeScreen = command == "screenshot";
  if (!wholeScreen) parseWindow(line, selector);
  std::string path = line.any("a file name");
  return [=](Context& context) {
    if (!readable(context.phase)) return Outcome::notNow();
    std::string file = resolveOutputPath(context, path);
    std::string found;
    QImage image;
    if (wholeScreen) {
      image = frontend().grabScreen();
    } else {
      WindowRef w = findWindow(selector, found);
      if (w == nullptr) return Outcome::fail("a window " + selector.describe() + " to snapshot", found);
      image = w->port.image;
    }
    if (!savePng(image, file, found)) return Outcome::fail("a PNG written to " + file, found);
    return Outcome::done();
  };
}

}  // namespace tb::script

// The script driver (docs/automation.md). The whole script is parsed before
// the program starts; then the driver takes one step each time the layer
// waits for input. Steps that act as a person run when the event loop has
// nothing left to do, so every redraw that the previous step caused is drawn
// before the next one looks or acts.
#include <QDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Frontend.h"
#include "Process.h"
#include "TextUtils.h"
#include "internal/EventQueue.h"
#include "internal/Hooks.h"
#include "internal/Launch.h"
#include "internal/MenuBar.h"
#include "internal/Script.h"
#include "internal/WidgetControls.h"
#include "qt/QtFrontend.h"

namespace tb {

namespace {

using script::Outcome;
using script::Phase;

struct Driver {
  std::vector<script::Step> steps;
  size_t current = 0;
  script::Context context;
  bool finished = false;
  bool running = false;  // inside a step, against re-entry from the toolkit
  std::chrono::steady_clock::time_point since = std::chrono::steady_clock::now();
};

Driver& driver() {
  static Driver d;
  return d;
}

Phase phaseNow(bool mainLoopIdle) {
  if (frontend().alertOpen()) return Phase::Alert;
  if (frontend().colorPickerOpen()) return Phase::ColorPicker;
  if (frontend().menuOpen()) return Phase::Menu;
  if (mainLoopIdle) return Phase::Idle;
  if (buttonPosted()) return Phase::Tracking;
  // A modal dialog waiting for its person is settled as the idle loop is:
  // steps act on it and read it.
  if (modalWindow() != nullptr) return Phase::Idle;
  return Phase::Busy;
}

bool desktopHasFocus(Phase phase) {
  return phase != Phase::Alert && phase != Phase::Menu && phase != Phase::ColorPicker;
}

std::string describe(Phase phase) {
  switch (phase) {
    case Phase::Idle:
      if (WindowRef dialog = modalWindow()) return "a modal dialog " + script::quote(script::windowTitle(dialog)) + " open";
      return "the program idle";
    case Phase::Tracking: return "the program following the held mouse button";
    case Phase::Menu: {
      QtFrontend* qt = qtFrontend();
      int index = qt ? qt->openMenuIndex() : -1;
      const auto& menus = menuBar().menus;
      if (index < 0 || size_t(index) >= menus.size()) return "a menu pulled down";
      return "menu " + script::quote(macRomanToUtf8(menus[size_t(index)]->model.title)) + " pulled down";
    }
    case Phase::Alert: {
      QtFrontend* qt = qtFrontend();
      return "an alert " + script::quote(qt ? qt->alertMessage() : std::string()) + " open";
    }
    case Phase::ColorPicker: {
      QtFrontend* qt = qtFrontend();
      return "the colour picker " + script::quote(qt ? qt->colorPickerPrompt() : std::string()) + " open";
    }
    case Phase::Busy: return "the program waiting in a modal loop";
  }
  return {};
}

[[noreturn]] void fail(int line, const std::string& expected, const std::string& found) {
  Driver& d = driver();
  d.finished = true;
  std::fprintf(stderr, "%s:%d: expected %s, found %s\n", d.context.scriptName.c_str(), line, expected.c_str(),
               found.c_str());
  setExitStatus(1);
  ExitToShell();
}

[[noreturn]] void pass() {
  Driver& d = driver();
  d.finished = true;
  std::printf("%s: passed, %zu steps\n", d.context.scriptName.c_str(), d.steps.size());
  ExitToShell();
}

void advance() {
  Driver& d = driver();
  ++d.current;
  d.since = std::chrono::steady_clock::now();
}

bool timedOut() {
  Driver& d = driver();
  std::chrono::duration<double> waited = std::chrono::steady_clock::now() - d.since;
  return waited.count() > d.context.timeoutSeconds;
}

// Posts the next piece of the current action, if the desktop has the focus.
bool postNextInput() {
  script::Context& c = driver().context;
  if (c.input.empty() || !desktopHasFocus(c.phase)) return false;
  postInput(c.input.front());
  c.input.pop_front();
  return true;
}

void onIdle(bool mainLoopIdle) {
  Driver& d = driver();
  if (d.finished || d.running) return;
  d.running = true;
  d.context.phase = phaseNow(mainLoopIdle);
  for (;;) {
    // The rest of a person's last action comes first, while the desktop has
    // the focus; an alert or a menu takes it until the script deals with it.
    if (postNextInput()) break;
    if (d.current >= d.steps.size()) {
      // The script is over once the program has settled.
      int last = d.steps.empty() ? 0 : d.steps.back().line;
      if (d.context.phase == Phase::Idle && modalWindow() == nullptr) pass();
      if (d.context.phase == Phase::Alert || d.context.phase == Phase::ColorPicker || timedOut()) {
        fail(last, "the program idle at the end of the script", describe(d.context.phase));
      }
      break;
    }
    script::Step& step = d.steps[d.current];
    d.context.line = step.line;
    Outcome outcome = step.run(d.context);
    if (outcome.kind == Outcome::Done) {
      advance();
      continue;
    }
    if (outcome.kind == Outcome::Yield) {
      advance();
      postNextInput();
    }
    if (outcome.kind == Outcome::Failed) fail(step.line, outcome.expected, outcome.found);
    if (outcome.kind == Outcome::NotNow) {
      // An alert that nobody expects is a failure at once; anything else may
      // still pass, until the step has waited too long.
      if (d.context.phase == Phase::Alert) fail(step.line, "`" + step.source + "`", describe(Phase::Alert));
      if (d.context.phase == Phase::ColorPicker) {
        fail(step.line, "`" + step.source + "`", describe(Phase::ColorPicker));
      }
      if (timedOut()) fail(step.line, "the program ready for `" + step.source + "`", describe(d.context.phase));
    }
    break;
  }
  d.running = false;
}

// The program ended by itself: a pass only where the script said it would.
void onProgramExit() {
  Driver& d = driver();
  if (d.finished) return;
  d.finished = true;
  if (d.current >= d.steps.size() || d.steps[d.current].endsProgram) {
    std::printf("%s: passed, %zu steps; the program ended\n", d.context.scriptName.c_str(), d.steps.size());
    return;
  }
  const script::Step& step = d.steps[d.current];
  std::fprintf(stderr, "%s:%d: expected `%s`, found the program ended\n", d.context.scriptName.c_str(), step.line,
               step.source.c_str());
  setExitStatus(1);
}

[[noreturn]] void refuse(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  setExitStatus(2);
  driver().finished = true;
  ExitToShell();
}

}  // namespace

void startScript(const std::string& path) {
  Driver& d = driver();
  d.context.scriptName = path;
  std::ifstream file(path, std::ios::binary);
  if (!file) refuse(path + ": cannot read the script");
  std::stringstream text;
  text << file.rdbuf();
  int errorLine = 0;
  std::string error;
  if (!script::parseScript(text.str(), d.steps, errorLine, error)) {
    refuse(path + ":" + std::to_string(errorLine) + ": " + error);
  }
  const char* out = std::getenv("VANTOR_SCRIPT_OUT");
  d.context.outputDir = out != nullptr && *out != '\0' ? out : QDir::currentPath().toStdString();
  d.since = std::chrono::steady_clock::now();
  setIdleHook(onIdle);
  onExit(onProgramExit);
}

}  // namespace tb

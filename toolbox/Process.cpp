// Start-up of the layer, the end of the process and the system query.
#include "Process.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "internal/EventQueue.h"
#include "internal/Launch.h"
#include "qt/QtFrontend.h"

namespace tb {

namespace {

struct ProcessState {
  std::vector<std::function<void()>> atExit;
  int exitStatus = 0;
};

ProcessState& process() {
  static ProcessState state;
  return state;
}

}  // namespace

void onExit(std::function<void()> callback) { process().atExit.push_back(std::move(callback)); }
void setExitStatus(int status) { process().exitStatus = status; }

bool parseLaunchOptions(int argc, char** argv, LaunchOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) {
        error = std::string(name) + " needs a value";
        return nullptr;
      }
      return argv[++i];
    };
    if (arg == "--script") {
      const char* v = value("--script");
      if (v == nullptr) return false;
      options.scriptPath = v;
    } else if (arg == "--desktop") {
      const char* v = value("--desktop");
      if (v == nullptr) return false;
      int w = 0, h = 0;
      if (std::sscanf(v, "%dx%d", &w, &h) != 2 || w < 320 || h < 240 || w > 8000 || h > 8000) {
        error = std::string("--desktop takes WIDTHxHEIGHT (320x240 to 8000x8000), not ") + v;
        return false;
      }
      options.desktopWidth = w;
      options.desktopHeight = h;
    } else if (arg == "--virtual-clock") {
      options.virtualClock = true;
    } else if (arg == "--help" || arg == "-h") {
      error = "usage: vantor [--desktop WIDTHxHEIGHT] [--script FILE] [--virtual-clock]";
      return false;
    } else if (arg.rfind("-platform", 0) == 0 || arg.rfind("--platform", 0) == 0) {
      ++i;  // Qt's own option, read by Qt
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  return true;
}

}  // namespace tb

void ToolboxInit(int argc, char** argv) {
  tb::LaunchOptions options;
  std::string error;
  if (!tb::parseLaunchOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(2);
  }
  tb::useVirtualClock(options.virtualClock);
  tb::startQtFrontend(argc, argv, options);
  if (!options.scriptPath.empty()) tb::startScript(options.scriptPath);
}

void ExitToShell() {
  for (auto& callback : tb::process().atExit) callback();
  std::fflush(stdout);
  std::fflush(stderr);
  // Nothing is released at exit: the process and everything it holds go.
  _exit(tb::process().exitStatus);
}

OSErr Gestalt(OSType selector, long* response) {
  if (response == nullptr) return paramErr;
  switch (selector) {
    case gestaltVersion: *response = 0x0100; return noErr;
    case 0: *response = 0; return noErr;
    case gestaltQuickdrawVersion: *response = 0x0230; return noErr;
    case gestaltSystemVersion: *response = 0x1040; return noErr;
    default: return -5551;  // the selector is not known
  }
}
